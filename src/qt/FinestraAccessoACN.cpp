#include "qt/FinestraAccessoACN.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "qt/Misure.h"
#include "qt/Pulsanti.h"
#include "qt/TestoQt.h"

namespace qzkiro::qt {

FinestraAccessoACN::FinestraAccessoACN(frmAccessoACN& form, QWidget* genitore)
    : QDialog(genitore),
      form_(form),
      utente_(new QLineEdit(Q(form.Testo1), this)),
      password_(new QLineEdit(Q(form.Testo2), this)),
      ricorda_(new QCheckBox(QString::fromUtf8(frmAccessoACN::kRicorda), this)) {
  setWindowTitle(QString::fromUtf8(frmAccessoACN::kTitolo));
  auto* istruzione = new QLabel(QString::fromUtf8(frmAccessoACN::kIstruzione), this);
  istruzione->setObjectName(QStringLiteral("istruzione"));
  istruzione->setWordWrap(true);
  utente_->setObjectName(QStringLiteral("utente"));
  password_->setObjectName(QStringLiteral("password"));
  password_->setEchoMode(QLineEdit::Password);
  ricorda_->setObjectName(QStringLiteral("ricorda"));
  ricorda_->setChecked(form.Ricorda);

  auto* campi = new QFormLayout;
  campi->addRow(QStringLiteral("&Nome utente:"), utente_);
  campi->addRow(QStringLiteral("&Password:"), password_);
  campi->addRow(QString(), ricorda_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(istruzione);
  layout->addLayout(campi);
  layout->addWidget(PulsantiOkAnnulla(*this, QString::fromUtf8(frmAccessoACN::kAnnulla)));
  LarghezzaMinima(*layout, 56);
  (form.Testo1.empty() ? utente_ : password_)->setFocus();
}

void FinestraAccessoACN::accept() {
  form_.Testo1 = U(utente_->text());
  form_.Testo2 = U(password_->text());
  form_.Ricorda = ricorda_->isChecked();
  QDialog::accept();
}

}  // namespace qzkiro::qt
