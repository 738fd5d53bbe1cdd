#include "qt/FinestraInfoPortale.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QtTest/QTest>

#include "support/qt/ProvaQt.h"
#include "qt/UiQt.h"

namespace qzkiro::qt {
namespace {

TEST(FinestraInfoPortale, LaSpuntaArrivaAlModuloComunqueSiChiuda) {
  UiQt ui;
  for (const int tasto : {Qt::Key_Return, Qt::Key_Escape}) {
    frmInfoPortale form;
    prova::AlProssimoModale([tasto](QWidget& finestra) {
      QTest::mouseClick(finestra.findChild<QCheckBox*>("non_mostrare"), Qt::LeftButton);
      prova::Tasto(finestra, tasto);
    });
    ui.InfoPortale(form);
    EXPECT_TRUE(form.NonMostrarePiu) << tasto;
    EXPECT_EQ(form.Valore(), "1");
  }
}

TEST(FinestraInfoPortale, SenzaSpuntaResta0) {
  UiQt ui;
  frmInfoPortale form;
  form.NonMostrarePiu = true;
  prova::AlProssimoModale([](QWidget& finestra) {
    auto* spunta = finestra.findChild<QCheckBox*>("non_mostrare");
    EXPECT_TRUE(spunta->isChecked());
    QTest::mouseClick(spunta, Qt::LeftButton);
    prova::Tasto(finestra, Qt::Key_Return);
  });
  ui.InfoPortale(form);
  EXPECT_EQ(form.Valore(), "0");
}

TEST(FinestraInfoPortale, LAvvisoStaSopraLaSpunta) {
  frmInfoPortale form;
  FinestraInfoPortale finestra(form);
  const QStringList ordine{"avviso", "non_mostrare"};
  EXPECT_EQ(prova::DallAlto(finestra, ordine), ordine);
}

}  // namespace
}  // namespace qzkiro::qt
