#include "qt/FinestraCredenziali.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "qt/MessaggioQt.h"
#include "qt/Pulsanti.h"
#include "qt/TestoQt.h"
#include "qzkiro/Ui.h"

namespace qzkiro::qt {

FinestraCredenziali::FinestraCredenziali(frmPasswordAsserzione& form, QWidget* genitore)
    : QDialog(genitore),
      form_(form),
      utente_(new QLineEdit(Q(form.UserName), this)),
      password_(new QLineEdit(Q(form.Password), this)),
      responsabile_(new QComboBox(this)),
      ricorda_(new QCheckBox(QStringLiteral("&Ricorda le credenziali"), this)) {
  setWindowTitle(QStringLiteral("Autenticazione"));
  utente_->setObjectName(QStringLiteral("utente"));
  password_->setObjectName(QStringLiteral("password"));
  password_->setEchoMode(QLineEdit::Password);
  responsabile_->setObjectName(QStringLiteral("responsabile"));
  for (const Responsabile& r : form.Responsabili) responsabile_->addItem(Q(r.NomeCompleto));
  responsabile_->setCurrentIndex(
      form.IndiceResponsabile < responsabile_->count() ? form.IndiceResponsabile : -1);
  ricorda_->setObjectName(QStringLiteral("ricorda"));
  ricorda_->setChecked(form.Ricorda);

  auto* campi = new QFormLayout;
  campi->addRow(QStringLiteral("&Nome utente:"), utente_);
  campi->addRow(QStringLiteral("&Password:"), password_);
  campi->addRow(QStringLiteral("R&esponsabile:"), responsabile_);
  campi->addRow(QString(), ricorda_);
  auto* pulsanti = PulsantiOkAnnulla(*this, QStringLiteral("Annulla"));
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(campi);
  layout->addWidget(pulsanti);
  layout->setSizeConstraint(QLayout::SetMinimumSize);

  setTabOrder(utente_, password_);
  setTabOrder(password_, responsabile_);
  setTabOrder(responsabile_, ricorda_);
  // A remembered user only needs the password.
  (form.UserName.empty() ? utente_ : password_)->setFocus();
}

void FinestraCredenziali::accept() {
  frmPasswordAsserzione copia = form_;
  copia.UserName = U(utente_->text());
  copia.Password = U(password_->text());
  copia.IndiceResponsabile = responsabile_->currentIndex();
  copia.Ricorda = ricorda_->isChecked();
  if (const std::string avviso = copia.Valida(); !avviso.empty()) {
    CreaMessaggio(avviso, core::stile::kAvviso, "KIRO", this)->exec();
    (copia.UserName.empty() ? static_cast<QWidget*>(utente_) : responsabile_)->setFocus();
    return;
  }
  form_ = std::move(copia);
  QDialog::accept();
}

}  // namespace qzkiro::qt
