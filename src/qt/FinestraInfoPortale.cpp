#include "qt/FinestraInfoPortale.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

#include "qt/Misure.h"
#include "qt/Pulsanti.h"

namespace qzkiro::qt {

FinestraInfoPortale::FinestraInfoPortale(frmInfoPortale& form, QWidget* genitore)
    : QDialog(genitore),
      form_(form),
      non_mostrare_(new QCheckBox(QStringLiteral("&Non mostrare più questo avviso"), this)) {
  setWindowTitle(QStringLiteral("Portale del cittadino"));
  auto* icona = new QLabel(this);
  const int lato = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
  icona->setPixmap(
      style()->standardIcon(QStyle::SP_MessageBoxInformation, nullptr, this).pixmap(lato, lato));
  auto* avviso = new QLabel(
      QStringLiteral("Con il cellulare e l'email indicati il cittadino riceve le credenziali di "
                     "accesso al proprio FSEr dal portale regionale."),
      this);
  avviso->setObjectName(QStringLiteral("avviso"));
  avviso->setWordWrap(true);
  non_mostrare_->setObjectName(QStringLiteral("non_mostrare"));
  non_mostrare_->setChecked(form.NonMostrarePiu);

  auto* testi = new QVBoxLayout;
  testi->addWidget(avviso);
  testi->addWidget(non_mostrare_);
  auto* corpo = new QHBoxLayout;
  corpo->addWidget(icona, 0, Qt::AlignTop);
  corpo->addLayout(testi, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(corpo);
  layout->addWidget(PulsantiOkAnnulla(*this, QString()));
  LarghezzaMinima(*layout, 56);
}

void FinestraInfoPortale::done(int esito) {
  form_.NonMostrarePiu = non_mostrare_->isChecked();
  QDialog::done(esito);
}

}  // namespace qzkiro::qt
