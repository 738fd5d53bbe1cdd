#include "qt/FinestraInfoPortale.h"

#include <QCheckBox>
#include <QLabel>
#include <QVBoxLayout>

#include "qt/CorpoAvviso.h"
#include "qt/Misure.h"

namespace qzkiro::qt {

FinestraInfoPortale::FinestraInfoPortale(frmInfoPortale& form, QWidget* genitore)
    : QDialog(genitore),
      form_(form),
      non_mostrare_(new QCheckBox(QStringLiteral("&Non mostrare più questo avviso"), this)) {
  setWindowTitle(QStringLiteral("Portale del cittadino"));
  auto* avviso = new QLabel(
      QStringLiteral("Con il cellulare e l'email indicati il cittadino riceve le credenziali di "
                     "accesso al proprio FSEr dal portale regionale."),
      this);
  avviso->setObjectName(QStringLiteral("avviso"));
  avviso->setWordWrap(true);
  non_mostrare_->setObjectName(QStringLiteral("non_mostrare"));
  non_mostrare_->setChecked(form.NonMostrarePiu);

  const CorpoAvviso corpo = CreaCorpoAvviso(*this);
  corpo.testi->addWidget(avviso);
  corpo.testi->addWidget(non_mostrare_);
  LarghezzaMinima(*corpo.layout, 56);
}

void FinestraInfoPortale::done(int esito) {
  form_.NonMostrarePiu = non_mostrare_->isChecked();
  QDialog::done(esito);
}

}  // namespace qzkiro::qt
