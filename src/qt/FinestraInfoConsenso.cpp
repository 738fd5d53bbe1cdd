#include "qt/FinestraInfoConsenso.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "qt/Pulsanti.h"
#include "qt/TestoQt.h"

namespace qzkiro::qt {

QStyle::StandardPixmap FinestraInfoConsenso::Icona(IconaConsenso icona) {
  switch (icona) {
    case IconaConsenso::Rilasciato:
      return QStyle::SP_DialogApplyButton;
    case IconaConsenso::Revocato:
      return QStyle::SP_DialogCancelButton;
    case IconaConsenso::NonRilasciato:
      break;
  }
  return QStyle::SP_DialogNoButton;
}

FinestraInfoConsenso::FinestraInfoConsenso(const RiepilogoConsensoFSE& r, QWidget* genitore)
    : QDialog(genitore) {
  setWindowTitle(QStringLiteral("Consensi FSEr in vigore"));
  QString paziente = Q(r.paziente);
  if (r.eta >= 0) paziente += QStringLiteral(" (%1 anni)").arg(r.eta);
  auto* intestazione = new QLabel(paziente, this);
  intestazione->setObjectName(QStringLiteral("paziente"));
  intestazione->setTextFormat(Qt::PlainText);
  QFont grassetto = intestazione->font();
  grassetto.setBold(true);
  intestazione->setFont(grassetto);

  auto* griglia = new QGridLayout;
  griglia->setHorizontalSpacing(griglia->horizontalSpacing() * 2);
  const int lato = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
  for (std::size_t i = 0; i < r.righe.size(); ++i) {
    const RigaInfoConsenso& riga = r.righe[i];
    const int n = static_cast<int>(i);
    auto* icona = new QLabel(this);
    icona->setObjectName(QStringLiteral("icona%1").arg(n));
    icona->setPixmap(style()->standardIcon(Icona(riga.icona), nullptr, this).pixmap(lato, lato));
    auto* tipo = new QLabel(Q(riga.tipo), this);
    tipo->setObjectName(QStringLiteral("tipo%1").arg(n));
    tipo->setTextFormat(Qt::PlainText);
    auto* stato = new QLabel(Q(riga.stato), this);
    stato->setObjectName(QStringLiteral("stato%1").arg(n));
    stato->setTextFormat(Qt::PlainText);
    griglia->addWidget(icona, n, 0);
    griglia->addWidget(tipo, n, 1);
    griglia->addWidget(stato, n, 2);
  }
  griglia->setColumnStretch(1, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(intestazione);
  layout->addLayout(griglia);
  layout->addWidget(PulsantiOkAnnulla(*this, QString()));
  layout->setSizeConstraint(QLayout::SetMinimumSize);
}

}  // namespace qzkiro::qt
