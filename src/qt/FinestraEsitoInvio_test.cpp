#include "qt/FinestraEsitoInvio.h"

#include <gtest/gtest.h>

#include <QLabel>

#include "support/qt/ProvaQt.h"
#include "qt/UiQt.h"

namespace qzkiro::qt {
namespace {

TEST(FinestraEsitoInvio, UnaRigaPerTipoInviato) {
  FinestraEsitoInvio finestra(
      {"Consenso all'alimentazione del FSEr", "Revocato Consenso alla consultazione del FSEr"});
  EXPECT_EQ(finestra.findChild<QLabel*>("riga0")->text(),
            QStringLiteral("• Consenso all'alimentazione del FSEr"));
  EXPECT_EQ(finestra.findChild<QLabel*>("riga1")->text(),
            QStringLiteral("• Revocato Consenso alla consultazione del FSEr"));
  EXPECT_EQ(finestra.findChild<QLabel*>("riga2"), nullptr);
}

TEST(FinestraEsitoInvio, InvioChiude) {
  UiQt ui;
  bool vista = false;
  prova::AlProssimoModale([&](QWidget& finestra) {
    vista = finestra.findChild<QLabel*>("riga0") != nullptr;
    prova::Tasto(finestra, Qt::Key_Return);
  });
  ui.EsitoInvioFSE({"Consenso all'alimentazione del FSEr"});
  EXPECT_TRUE(vista);
}

}  // namespace
}  // namespace qzkiro::qt
