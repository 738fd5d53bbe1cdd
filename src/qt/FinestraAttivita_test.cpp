#include "qt/FinestraAttivita.h"

#include <gtest/gtest.h>

#include <QCommandLinkButton>
#include <QFrame>
#include <QLabel>
#include <QScrollArea>
#include <QtTest/QTest>

#include "support/qt/ProvaQt.h"
#include "qt/UiQt.h"

namespace qzkiro::qt {
namespace {

using core::DialogoAttivita;
using core::risposta::kAnnulla;

DialogoAttivita Appropriatezza() {
  DialogoAttivita d;
  d.titolo = "KIRO - Appropriatezza prescrittiva";
  d.icona = 5;
  d.istruzione = "Attenzione";
  d.contenuto = "Prestazione 88.71.4:\nnon erogabile.";
  d.scorrimento = true;
  const char* motivi[] = {"Per situazione clinica non contemplata nell'IP",
                          "Per prescrizione specialistica", "Per non condivisione",
                          "Per altri motivi"};
  for (int i = 0; i < 4; ++i)
    d.pulsanti.emplace_back(101 + i, std::string("Confermo l'invio\n") + motivi[i]);
  d.piede = "<a href=\"note\">Note aggiuntive</a>";
  return d;
}

TEST(FinestraAttivita, MostraTitoloIstruzioneContenutoEPulsanti) {
  FinestraAttivita finestra(Appropriatezza());
  EXPECT_EQ(finestra.windowTitle(), QStringLiteral("KIRO - Appropriatezza prescrittiva"));
  EXPECT_EQ(finestra.findChild<QLabel*>("istruzione")->text(), QStringLiteral("Attenzione"));
  EXPECT_NE(finestra.findChild<QLabel*>("icona"), nullptr);
  auto* area = finestra.findChild<QScrollArea*>("scorrimento");
  ASSERT_NE(area, nullptr);
  EXPECT_NE(area->findChild<QLabel*>("contenuto"), nullptr);
  const auto pulsanti = finestra.findChildren<QCommandLinkButton*>();
  ASSERT_EQ(pulsanti.size(), 4);
  EXPECT_EQ(pulsanti[0]->text(), QStringLiteral("Confermo l'invio"));
  EXPECT_EQ(pulsanti[0]->description(),
            QStringLiteral("Per situazione clinica non contemplata nell'IP"));
  EXPECT_EQ(pulsanti[3]->description(), QStringLiteral("Per altri motivi"));
  EXPECT_TRUE(pulsanti[0]->isDefault());
  EXPECT_EQ(finestra.findChild<QLabel*>("piede")->textFormat(), Qt::RichText);
}

TEST(FinestraAttivita, SenzaScorrimentoEConUnPulsanteSenzaNota) {
  DialogoAttivita d;
  d.titolo = "Ricetta";
  d.istruzione = "Attenzione";
  d.contenuto = "Messaggio";
  d.pulsanti = {{100, "La prescrizione verrà inviata comunque al SAR"}};
  FinestraAttivita finestra(d);
  EXPECT_EQ(finestra.findChild<QScrollArea*>(), nullptr);
  EXPECT_EQ(finestra.findChild<QLabel*>("icona"), nullptr);
  const auto pulsanti = finestra.findChildren<QCommandLinkButton*>();
  ASSERT_EQ(pulsanti.size(), 1);
  EXPECT_EQ(pulsanti[0]->text(), QStringLiteral("La prescrizione verrà inviata comunque al SAR"));
  EXPECT_EQ(pulsanti[0]->description(), QString());
  EXPECT_EQ(finestra.findChild<QLabel*>("piede"), nullptr);
  for (const QFrame* f : finestra.findChildren<QFrame*>()) {
    EXPECT_NE(f->frameShape(), QFrame::HLine) << "no rule over a missing footer";
  }
}

TEST(FinestraAttivita, LaDomandaSottoIlContenuto) {
  DialogoAttivita d = Appropriatezza();
  d.scorrimento = false;
  d.domanda = "Procedere con l'invio?";
  FinestraAttivita finestra(d);
  auto* domanda = finestra.findChild<QLabel*>("domanda");
  ASSERT_NE(domanda, nullptr);
  EXPECT_EQ(domanda->text(), QStringLiteral("Procedere con l'invio?"));
  const QStringList ordine{"istruzione", "contenuto", "domanda", "piede"};
  EXPECT_EQ(prova::DallAlto(finestra, ordine), ordine);
}

TEST(FinestraAttivita, OgniPulsanteDaIlSuoIdEscAnnulla) {
  UiQt ui;
  const DialogoAttivita d = Appropriatezza();
  for (int i = 0; i < 4; ++i) {
    prova::AlProssimoModale([i](QWidget& finestra) {
      QTest::mouseClick(finestra.findChildren<QCommandLinkButton*>()[i], Qt::LeftButton);
    });
    EXPECT_EQ(ui.TaskDialog(d), 101 + i);
  }
  prova::AlProssimoModale([](QWidget& finestra) { prova::Tasto(finestra, Qt::Key_Escape); });
  EXPECT_EQ(ui.TaskDialog(d), kAnnulla);
  prova::AlProssimoModale([](QWidget& finestra) { finestra.close(); });
  EXPECT_EQ(ui.TaskDialog(d), kAnnulla);
}

TEST(FinestraAttivita, InvioSceglieIlPrimoPulsanteLaTastieraGliAltri) {
  UiQt ui;
  const DialogoAttivita d = Appropriatezza();
  prova::AlProssimoModale([](QWidget& finestra) { prova::Tasto(finestra, Qt::Key_Return); });
  EXPECT_EQ(ui.TaskDialog(d), 101);
  prova::AlProssimoModale([](QWidget& finestra) {
    finestra.findChildren<QCommandLinkButton*>()[2]->setFocus();
    prova::Tasto(finestra, Qt::Key_Space);
  });
  EXPECT_EQ(ui.TaskDialog(d), 103);
}

TEST(FinestraAttivita, UnCollegamentoDelPiedeArrivaAllAzioneDellaUi) {
  UiQt ui;
  std::vector<std::string> cliccati;
  ui.ImpostaCollegamenti([&](const std::string& indirizzo) { cliccati.push_back(indirizzo); });
  prova::AlProssimoModale([](QWidget& finestra) {
    emit finestra.findChild<QLabel*>("piede")->linkActivated(QStringLiteral("note"));
    prova::Tasto(finestra, Qt::Key_Escape);
  });
  EXPECT_EQ(ui.TaskDialog(Appropriatezza()), kAnnulla);
  EXPECT_EQ(cliccati, std::vector<std::string>{"note"});
}

TEST(FinestraAttivita, OrdineDelTab) {
  FinestraAttivita finestra(Appropriatezza());
  ASSERT_TRUE(prova::MostraAttiva(finestra));
  QStringList giro = prova::GiroTab(finestra, 8);
  giro.removeDuplicates();  // the footer's label holds the focus once more on its link
  // From the default button through the others and the footer's link, then
  // round to the scrolled content above the buttons.
  EXPECT_EQ(giro, (QStringList{"pulsante0", "pulsante1", "pulsante2", "pulsante3", "piede",
                               "scorrimento"}));
}

TEST(FinestraAttivita, IconeDeiNumeri) {
  EXPECT_EQ(FinestraAttivita::IconaStandard(5), QStyle::SP_MessageBoxWarning);
  EXPECT_EQ(FinestraAttivita::IconaStandard(1), QStyle::SP_MessageBoxInformation);
  EXPECT_EQ(FinestraAttivita::IconaStandard(3), QStyle::SP_MessageBoxCritical);
  EXPECT_EQ(FinestraAttivita::IconaStandard(0), std::nullopt);
}

}  // namespace
}  // namespace qzkiro::qt
