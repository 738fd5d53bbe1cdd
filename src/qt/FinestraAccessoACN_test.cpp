#include "qt/FinestraAccessoACN.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QtTest/QTest>

#include "support/qt/ProvaQt.h"
#include "qt/UiQt.h"

namespace qzkiro::qt {
namespace {

TEST(FinestraAccessoACN, ITestiSonoQuelliDelModulo) {
  frmAccessoACN form;
  FinestraAccessoACN finestra(form);
  EXPECT_EQ(finestra.windowTitle(), QStringLiteral("Accesso Servizi ACN"));
  EXPECT_EQ(finestra.findChild<QLabel*>("istruzione")->text(),
            QStringLiteral("Impostare le credenziali di accesso ai servizi web e fare clic su OK"));
  EXPECT_EQ(finestra.findChild<QCheckBox*>("ricorda")->text(),
            QStringLiteral("Ricorda queste impostazioni al prossimo accesso"));
  EXPECT_EQ(finestra.findChild<QPushButton*>("annulla")->text(), QStringLiteral("Annulla"));
}

TEST(FinestraAccessoACN, OrdineDelTab) {
  frmAccessoACN form;
  FinestraAccessoACN finestra(form);
  ASSERT_TRUE(prova::MostraAttiva(finestra));
  const QStringList giro = prova::GiroTab(finestra, 5);
  EXPECT_EQ(giro.mid(0, 3), (QStringList{"utente", "password", "ricorda"}));
  EXPECT_EQ(QSet<QString>(giro.begin() + 3, giro.begin() + 5), (QSet<QString>{"ok", "annulla"}));
  EXPECT_EQ(giro[5], QStringLiteral("utente"));
}

TEST(FinestraAccessoACN, DigitazioneEOKRiempionoIlModulo) {
  UiQt ui;
  frmAccessoACN form;
  prova::AlProssimoModale([](QWidget& finestra) {
    prova::Digita(finestra.focusWidget(), QStringLiteral("RSSMRA60A01L736U"));
    prova::Tasto(finestra, Qt::Key_Tab);
    prova::Digita(finestra.focusWidget(), QStringLiteral("Flussi.2024"));
    prova::Tasto(finestra, Qt::Key_Tab);
    prova::Tasto(finestra, Qt::Key_Space);
    prova::Tasto(finestra, Qt::Key_Return);
  });
  ASSERT_TRUE(ui.AccessoACN(form));
  EXPECT_EQ(form.Testo1, "RSSMRA60A01L736U");
  EXPECT_EQ(form.Testo2, "Flussi.2024");
  EXPECT_TRUE(form.Ricorda);
}

TEST(FinestraAccessoACN, AnnullaLasciaLeCredenzialiSalvate) {
  UiQt ui;
  frmAccessoACN form;
  form.Testo1 = "RSSMRA60A01L736U";
  form.Testo2 = "Flussi.2024";
  prova::AlProssimoModale([](QWidget& finestra) {
    auto* password = finestra.findChild<QLineEdit*>("password");
    EXPECT_EQ(password->text(), QStringLiteral("Flussi.2024"));
    password->clear();
    QTest::mouseClick(finestra.findChild<QPushButton*>("annulla"), Qt::LeftButton);
  });
  EXPECT_FALSE(ui.AccessoACN(form));
  EXPECT_EQ(form.Testo2, "Flussi.2024");
}

}  // namespace
}  // namespace qzkiro::qt
