#include "qt/FinestraEsitoInvio.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

#include "qt/Pulsanti.h"
#include "qt/TestoQt.h"

namespace qzkiro::qt {

FinestraEsitoInvio::FinestraEsitoInvio(const std::vector<std::string>& righe, QWidget* genitore)
    : QDialog(genitore) {
  setWindowTitle(QStringLiteral("Esito dell'invio del consenso"));
  auto* icona = new QLabel(this);
  const int lato = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
  icona->setPixmap(
      style()->standardIcon(QStyle::SP_MessageBoxInformation, nullptr, this).pixmap(lato, lato));
  auto* testi = new QVBoxLayout;
  auto* intestazione = new QLabel(QStringLiteral("Consenso inviato al FSEr:"), this);
  QFont grassetto = intestazione->font();
  grassetto.setBold(true);
  intestazione->setFont(grassetto);
  testi->addWidget(intestazione);
  for (std::size_t i = 0; i < righe.size(); ++i) {
    auto* riga = new QLabel(QStringLiteral("• ") + Mostrato(righe[i]), this);
    riga->setObjectName(QStringLiteral("riga%1").arg(i));
    riga->setTextFormat(Qt::PlainText);
    testi->addWidget(riga);
  }
  auto* corpo = new QHBoxLayout;
  corpo->addWidget(icona, 0, Qt::AlignTop);
  corpo->addLayout(testi, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(corpo);
  layout->addWidget(PulsantiOkAnnulla(*this, QString()));
  layout->setSizeConstraint(QLayout::SetMinimumSize);
}

}  // namespace qzkiro::qt
