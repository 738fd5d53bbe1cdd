#include "qt/CorpoAvviso.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

#include "qt/Pulsanti.h"

namespace qzkiro::qt {

CorpoAvviso CreaCorpoAvviso(QDialog& dialogo) {
  auto* icona = new QLabel(&dialogo);
  QStyle* stile = dialogo.style();
  const int lato = stile->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, &dialogo);
  icona->setPixmap(
      stile->standardIcon(QStyle::SP_MessageBoxInformation, nullptr, &dialogo).pixmap(lato, lato));
  auto* testi = new QVBoxLayout;
  auto* corpo = new QHBoxLayout;
  corpo->addWidget(icona, 0, Qt::AlignTop);
  corpo->addLayout(testi, 1);
  auto* layout = new QVBoxLayout(&dialogo);
  layout->addLayout(corpo);
  layout->addWidget(PulsantiOkAnnulla(dialogo, QString()));
  return {testi, layout};
}

}  // namespace qzkiro::qt
