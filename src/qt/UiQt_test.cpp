#include "qt/UiQt.h"

#include <gtest/gtest.h>

#include <QTimer>

#include "support/qt/ProvaQt.h"

namespace qzkiro::qt {
namespace {

TEST(UiQt, DoEventsEsegueGliEventiInAttesa) {
  UiQt ui;
  bool eseguito = false;
  QTimer::singleShot(0, [&] { eseguito = true; });
  ui.DoEvents();
  EXPECT_TRUE(eseguito);
}

TEST(UiQt, IModuliSonoModaliAllaFinestraDellHost) {
  QWidget host;
  UiQt ui(&host);
  std::vector<const QWidget*> genitori;
  auto chiudi = [&](QWidget& finestra) {
    genitori.push_back(finestra.parentWidget());
    EXPECT_TRUE(finestra.isModal());
    prova::Tasto(finestra, Qt::Key_Escape);
  };
  frmPasswordAsserzione credenziali;
  prova::AlProssimoModale(chiudi);
  EXPECT_FALSE(ui.Credenziali(credenziali));
  frmAccessoACN acn;
  prova::AlProssimoModale(chiudi);
  EXPECT_FALSE(ui.AccessoACN(acn));
  prova::AlProssimoModale(chiudi);
  ui.InfoConsensoFSE({"FERRARI GIULIA", 12, {}});
  EXPECT_EQ(genitori, (std::vector<const QWidget*>{&host, &host, &host}));
}

}  // namespace
}  // namespace qzkiro::qt
