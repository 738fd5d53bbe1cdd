#pragma once

#include <QDialog>

#include "qzkiro/Moduli.h"

class QLineEdit;

/// \file
/// The identity provider's password-change dialog.

namespace qzkiro::qt {

/// The password-change dialog (frmUpdatePasswordAsserzione): user, current
/// password, new password and "Ridigita password". OK runs the form's Valida
/// on a copy: a warning is shown in a box titled "KIRO" and the dialog stays
/// open on the field to correct; otherwise the copy replaces the form and
/// the dialog closes. Cancel leaves the form as it was.
class FinestraCambioPassword : public QDialog {
  Q_OBJECT

 public:
  explicit FinestraCambioPassword(frmUpdatePasswordAsserzione& form, QWidget* genitore = nullptr);

  void accept() override;

 private:
  frmUpdatePasswordAsserzione& form_;
  QLineEdit* utente_;
  QLineEdit* password_;
  QLineEdit* nuova_;
  QLineEdit* ridigita_;
};

}  // namespace qzkiro::qt
