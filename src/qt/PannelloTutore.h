#pragma once

#include <QWidget>
#include <functional>

#include "qzkiro/ModuliFse.h"

class QLineEdit;

/// \file
/// One guardian's tab of the consent form.

namespace qzkiro::qt {

/// The fields of one guardian (SchedaTutore): surname, name, fiscal code,
/// mobile number and e-mail, and the search menu ("Cerca in Curalis", "Cerca
/// su KIRO") that fills them from the host. The fields it does not show (the
/// regional identifier) travel unchanged from the tab it was filled with,
/// until a search replaces the person.
class PannelloTutore : public QWidget {
  Q_OBJECT

 public:
  /// `azioni`: the form's buttons, whose searches the menu calls; they must
  /// outlive the tab.
  PannelloTutore(const SchedaTutore& tutore, const AzioniConsensoFSE& azioni,
                 QWidget* genitore = nullptr);

  /// The guardian as the user left the fields.
  SchedaTutore Tutore() const;
  /// The first field, which takes the focus when the tab is added.
  QLineEdit* PrimoCampo() const { return cognome_; }

 private:
  void Cerca(const std::function<bool(SchedaTutore&)>& ricerca);
  void Mostra(const SchedaTutore& tutore);

  SchedaTutore originale_;
  QLineEdit* cognome_;
  QLineEdit* nome_;
  QLineEdit* codice_fiscale_;
  QLineEdit* cellulare_;
  QLineEdit* email_;
};

}  // namespace qzkiro::qt
