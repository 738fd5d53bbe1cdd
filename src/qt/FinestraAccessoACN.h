#pragma once

#include <QDialog>

#include "qzkiro/Moduli.h"

class QCheckBox;
class QLineEdit;

/// \file
/// The credentials of the local health units' flow services.

namespace qzkiro::qt {

/// "Accesso Servizi ACN" (frmAccessoACN): the instruction, the user name
/// (Testo1) and password (Testo2) fields, the "remember" check box, OK and
/// "Annulla". OK copies the fields into the form; "Annulla" leaves it as it
/// was.
class FinestraAccessoACN : public QDialog {
  Q_OBJECT

 public:
  explicit FinestraAccessoACN(frmAccessoACN& form, QWidget* genitore = nullptr);

  void accept() override;

 private:
  frmAccessoACN& form_;
  QLineEdit* utente_;
  QLineEdit* password_;
  QCheckBox* ricorda_;
};

}  // namespace qzkiro::qt
