#pragma once

#include <QDialog>
#include <array>

#include "qzkiro/ModuliFse.h"

class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QVBoxLayout;

/// \file
/// The consent form of the regional health record.

namespace qzkiro::qt {

/// The consent form (ModuloConsensoFSE): under its caption (Didascalia) the
/// three consents as pairs of option buttons, then the tabs: "Dati
/// aggiuntivi" with the patient's mobile number and e-mail, and one tab per
/// guardian captioned by TitoloScheda, which buttons add and remove (the
/// captions renumber after a removal). The buttons: OK, the summary of the
/// consents in force and the information notice, wired to
/// AzioniConsensoFSE, and "Annulla".
///
/// OK copies the widgets into the form and asks `azioni.conferma` (with OK
/// disabled meanwhile); the dialog closes accepted only when it answers
/// true, and stays open with the user's choices otherwise. Without a
/// `conferma` OK closes at once.
class FinestraConsenso : public QDialog {
  Q_OBJECT

 public:
  FinestraConsenso(ModuloConsensoFSE& form, const AzioniConsensoFSE& azioni,
                   QWidget* genitore = nullptr);

  void accept() override;

  /// The tabs: "Dati aggiuntivi" first, then one per guardian.
  QTabWidget* Schede() const { return schede_; }
  /// Adds an empty guardian tab, shows it and puts the focus in it.
  void AggiungiTutore();
  /// Removes the guardian tab shown; nothing when "Dati aggiuntivi" is.
  void RimuoviTutoreCorrente();

 private:
  void CreaScelte(QVBoxLayout& layout);
  void CreaSchede(QVBoxLayout& layout);
  void CreaPulsanti(QVBoxLayout& layout);
  void AggiungiScheda(const SchedaTutore& tutore);
  void Rinumera();
  void CopiaNelModulo();

  ModuloConsensoFSE& form_;
  AzioniConsensoFSE azioni_;
  std::array<QRadioButton*, 6> opzioni_{};
  QLineEdit* cellulare_;
  QLineEdit* email_;
  QTabWidget* schede_;
  QPushButton* rimuovi_;
  QPushButton* ok_;
};

}  // namespace qzkiro::qt
