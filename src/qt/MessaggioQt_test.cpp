#include "qt/MessaggioQt.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>
#include <QPushButton>
#include <QtTest/QTest>

#include "support/qt/ProvaQt.h"
#include "qt/TestoQt.h"
#include "qt/UiQt.h"

namespace qzkiro::qt {
namespace {

using namespace core;

struct Caso {
  int stile;
  QMessageBox::Icon icona;
  QStringList pulsanti;  // in the order given, the first being the default
  int invio;             // the answer of Enter
  int fuga;              // the answer of Escape
};

const Caso kCasi[] = {
    {stile::kOK | stile::kInformazione,
     QMessageBox::Information,
     {"OK"},
     risposta::kOK,
     risposta::kOK},
    {stile::kOKAnnulla | stile::kAvviso,
     QMessageBox::Warning,
     {"OK", "Annulla"},
     risposta::kOK,
     risposta::kAnnulla},
    {stile::kSiNoAnnulla | stile::kDomanda,
     QMessageBox::Question,
     {"Sì", "No", "Annulla"},
     risposta::kSi,
     risposta::kAnnulla},
    {stile::kSiNo | stile::kErrore,
     QMessageBox::Critical,
     {"Sì", "No"},
     risposta::kSi,
     risposta::kNo},
    {stile::kSiNo, QMessageBox::NoIcon, {"Sì", "No"}, risposta::kSi, risposta::kNo},
};

TEST(MessaggioQt, TitoloTestoIconaEPulsantiDelloStile) {
  for (const Caso& c : kCasi) {
    SCOPED_TRACE(c.stile);
    auto box = CreaMessaggio("Prima riga\r\nseconda riga", c.stile, "Aggiorna Password", nullptr);
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Aggiorna Password"));
    EXPECT_EQ(box->text(), QStringLiteral("Prima riga\nseconda riga"));
    EXPECT_EQ(box->icon(), c.icona);
    QStringList testi;
    for (QAbstractButton* b : box->buttons()) testi << b->text();
    testi.sort();
    QStringList attesi = c.pulsanti;
    attesi.sort();
    EXPECT_EQ(testi, attesi);
    ASSERT_NE(box->defaultButton(), nullptr);
    EXPECT_EQ(box->defaultButton()->text(), c.pulsanti.front());
  }
}

TEST(MessaggioQt, InvioDaLaRispostaPredefinitaEdEscQuellaDiAnnullamento) {
  UiQt ui;
  for (const Caso& c : kCasi) {
    SCOPED_TRACE(c.stile);
    prova::AlProssimoModale([](QWidget& box) { prova::Tasto(box, Qt::Key_Return); });
    EXPECT_EQ(ui.MsgBox("Confermare?", c.stile, "KIRO"), c.invio);
    EXPECT_EQ(c.invio, RispostaPredefinita(c.stile));
    prova::AlProssimoModale([](QWidget& box) { prova::Tasto(box, Qt::Key_Escape); });
    EXPECT_EQ(ui.MsgBox("Confermare?", c.stile, "KIRO"), c.fuga);
  }
}

TEST(MessaggioQt, OgniPulsanteDaLaSuaRisposta) {
  UiQt ui;
  const std::pair<const char*, int> scelte[] = {
      {"Sì", risposta::kSi}, {"No", risposta::kNo}, {"Annulla", risposta::kAnnulla}};
  for (const auto& [testo, attesa] : scelte) {
    prova::AlProssimoModale([testo = QString::fromUtf8(testo)](QWidget& box) {
      for (QAbstractButton* b : static_cast<QMessageBox&>(box).buttons()) {
        if (b->text() == testo) QTest::mouseClick(b, Qt::LeftButton);
      }
    });
    EXPECT_EQ(ui.MsgBox("Salvare?", stile::kSiNoAnnulla | stile::kDomanda, "KIRO"), attesa);
  }
}

TEST(MessaggioQt, ChiudereLaFinestraValeComeEsc) {
  UiQt ui;
  prova::AlProssimoModale([](QWidget& box) { box.close(); });
  EXPECT_EQ(ui.MsgBox("Procedere?", stile::kSiNo, "KIRO"), risposta::kNo);
}

TEST(MessaggioQt, ModaleAllaFinestraDellHost) {
  QWidget host;
  UiQt ui(&host);
  const QWidget* genitore = nullptr;
  bool modale = false;
  prova::AlProssimoModale([&](QWidget& box) {
    genitore = box.parentWidget();
    modale = box.isModal();
    prova::Tasto(box, Qt::Key_Return);
  });
  ui.MsgBox("Fatto", stile::kInformazione, "KIRO");
  EXPECT_EQ(genitore, &host);
  EXPECT_TRUE(modale);
}

}  // namespace
}  // namespace qzkiro::qt
