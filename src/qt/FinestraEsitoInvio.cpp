#include "qt/FinestraEsitoInvio.h"

#include <QLabel>
#include <QVBoxLayout>

#include "qt/CorpoAvviso.h"
#include "qt/TestoQt.h"

namespace qzkiro::qt {

FinestraEsitoInvio::FinestraEsitoInvio(const std::vector<std::string>& righe, QWidget* genitore)
    : QDialog(genitore) {
  setWindowTitle(QStringLiteral("Esito dell'invio del consenso"));
  const CorpoAvviso corpo = CreaCorpoAvviso(*this);
  auto* intestazione = new QLabel(QStringLiteral("Consenso inviato al FSEr:"), this);
  QFont grassetto = intestazione->font();
  grassetto.setBold(true);
  intestazione->setFont(grassetto);
  corpo.testi->addWidget(intestazione);
  for (std::size_t i = 0; i < righe.size(); ++i) {
    auto* riga = new QLabel(QStringLiteral("• ") + Mostrato(righe[i]), this);
    riga->setObjectName(QStringLiteral("riga%1").arg(i));
    riga->setTextFormat(Qt::PlainText);
    corpo.testi->addWidget(riga);
  }
  corpo.layout->setSizeConstraint(QLayout::SetMinimumSize);
}

}  // namespace qzkiro::qt
