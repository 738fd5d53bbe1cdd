#include "qt/MessaggioQt.h"

#include <QAbstractButton>
#include <QPushButton>
#include <QVariant>
#include <utility>
#include <vector>

#include "qt/TestoQt.h"
#include "qzkiro/Ui.h"

namespace qzkiro::qt {

namespace {

using namespace core;

// The property of each button that holds its answer.
constexpr const char* kRisposta = "qzkiro_risposta";

struct Pulsante {
  const char* testo;
  QMessageBox::ButtonRole ruolo;
  int risposta;
};

constexpr Pulsante kOK{"OK", QMessageBox::AcceptRole, risposta::kOK};
constexpr Pulsante kAnnulla{"Annulla", QMessageBox::RejectRole, risposta::kAnnulla};
constexpr Pulsante kSi{"Sì", QMessageBox::YesRole, risposta::kSi};
constexpr Pulsante kNo{"No", QMessageBox::NoRole, risposta::kNo};

QMessageBox::Icon Icona(int stile) {
  switch (stile & 0x70) {
    case stile::kErrore:
      return QMessageBox::Critical;
    case stile::kDomanda:
      return QMessageBox::Question;
    case stile::kAvviso:
      return QMessageBox::Warning;
    case stile::kInformazione:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

// The buttons in order (the first is the default) and the one Escape chooses.
std::pair<std::vector<Pulsante>, Pulsante> Pulsanti(int stile) {
  switch (stile & 7) {
    case stile::kOKAnnulla:
      return {{kOK, kAnnulla}, kAnnulla};
    case stile::kSiNoAnnulla:
      return {{kSi, kNo, kAnnulla}, kAnnulla};
    case stile::kSiNo:
      return {{kSi, kNo}, kNo};
    default:
      return {{kOK}, kOK};
  }
}

}  // namespace

std::unique_ptr<QMessageBox> CreaMessaggio(const std::string& testo, int stile,
                                           const std::string& titolo, QWidget* genitore) {
  auto box = std::make_unique<QMessageBox>(Icona(stile), Q(titolo), Mostrato(testo),
                                           QMessageBox::NoButton, genitore);
  box->setTextFormat(Qt::PlainText);
  const auto [pulsanti, fuga] = Pulsanti(stile);
  for (const Pulsante& p : pulsanti) {
    QPushButton* b = box->addButton(QString::fromUtf8(p.testo), p.ruolo);
    b->setProperty(kRisposta, p.risposta);
    if (&p == &pulsanti.front()) box->setDefaultButton(b);
    if (p.risposta == fuga.risposta) box->setEscapeButton(b);
  }
  return box;
}

int RispostaMessaggio(const QMessageBox& box) {
  const QAbstractButton* scelto = box.clickedButton();
  if (!scelto) scelto = box.escapeButton();
  return scelto ? scelto->property(kRisposta).toInt() : risposta::kAnnulla;
}

}  // namespace qzkiro::qt
