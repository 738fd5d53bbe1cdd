#pragma once

#include <QWidget>

#include "qzkiro/ModuliFse.h"

class QLineEdit;

/// \file
/// One guardian's tab of the consent form.

namespace qzkiro::qt {

/// The fields of one guardian (SchedaTutore): surname, name, fiscal code,
/// mobile number and e-mail. The fields it does not show (the regional
/// identifier) travel unchanged from the tab it was filled with.
class PannelloTutore : public QWidget {
  Q_OBJECT

 public:
  explicit PannelloTutore(const SchedaTutore& tutore, QWidget* genitore = nullptr);

  /// The guardian as the user left the fields.
  SchedaTutore Tutore() const;
  /// The first field, which takes the focus when the tab is added.
  QLineEdit* PrimoCampo() const { return cognome_; }

 private:
  SchedaTutore originale_;
  QLineEdit* cognome_;
  QLineEdit* nome_;
  QLineEdit* codice_fiscale_;
  QLineEdit* cellulare_;
  QLineEdit* email_;
};

}  // namespace qzkiro::qt
