#include "qt/FinestraCambioPassword.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "qt/MessaggioQt.h"
#include "qt/Pulsanti.h"
#include "qt/TestoQt.h"
#include "qzkiro/Ui.h"

namespace qzkiro::qt {

namespace {

QLineEdit* Campo(const std::string& testo, const char* nome, bool segreto, QWidget* genitore) {
  auto* campo = new QLineEdit(Q(testo), genitore);
  campo->setObjectName(QString::fromLatin1(nome));
  if (segreto) campo->setEchoMode(QLineEdit::Password);
  return campo;
}

}  // namespace

FinestraCambioPassword::FinestraCambioPassword(frmUpdatePasswordAsserzione& form, QWidget* genitore)
    : QDialog(genitore),
      form_(form),
      utente_(Campo(form.UserName, "utente", false, this)),
      password_(Campo(form.Password, "password", true, this)),
      nuova_(Campo(form.NuovaPassword, "nuova", true, this)),
      ridigita_(Campo(form.Ridigita, "ridigita", true, this)) {
  setWindowTitle(QStringLiteral("Aggiorna Password"));
  auto* campi = new QFormLayout;
  campi->addRow(QStringLiteral("&Utente:"), utente_);
  campi->addRow(QStringLiteral("Password &attuale:"), password_);
  campi->addRow(QStringLiteral("&Nuova password:"), nuova_);
  campi->addRow(QStringLiteral("&Ridigita password:"), ridigita_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(campi);
  layout->addWidget(PulsantiOkAnnulla(*this, QStringLiteral("Annulla")));
  layout->setSizeConstraint(QLayout::SetMinimumSize);
  setTabOrder(utente_, password_);
  setTabOrder(password_, nuova_);
  setTabOrder(nuova_, ridigita_);
  (form.UserName.empty() ? utente_ : password_)->setFocus();
}

void FinestraCambioPassword::accept() {
  frmUpdatePasswordAsserzione copia = form_;
  copia.UserName = U(utente_->text());
  copia.Password = U(password_->text());
  copia.NuovaPassword = U(nuova_->text());
  copia.Ridigita = U(ridigita_->text());
  if (const std::string avviso = copia.Valida(); !avviso.empty()) {
    CreaMessaggio(avviso, core::stile::kAvviso, "KIRO", this)->exec();
    ridigita_->setFocus();
    ridigita_->selectAll();
    return;
  }
  form_ = std::move(copia);
  QDialog::accept();
}

}  // namespace qzkiro::qt
