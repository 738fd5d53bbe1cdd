#pragma once

#include <QDialog>

#include "qzkiro/Moduli.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

/// \file
/// The identity provider's credentials dialog.

namespace qzkiro::qt {

/// The credentials dialog (frmPasswordAsserzione): user name, password, the
/// responsible doctor (the form's Responsabili by NomeCompleto, its
/// IndiceResponsabile chosen) and "remember". It opens filled from the form;
/// OK copies the fields into a copy of the form and runs Valida: a warning
/// is shown in a box titled "KIRO" and the dialog stays open, otherwise the
/// copy replaces the form and the dialog closes. Cancel leaves the form as
/// it was.
class FinestraCredenziali : public QDialog {
  Q_OBJECT

 public:
  explicit FinestraCredenziali(frmPasswordAsserzione& form, QWidget* genitore = nullptr);

  void accept() override;

 private:
  frmPasswordAsserzione& form_;
  QLineEdit* utente_;
  QLineEdit* password_;
  QComboBox* responsabile_;
  QCheckBox* ricorda_;
};

}  // namespace qzkiro::qt
