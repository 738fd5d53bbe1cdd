#include "qt/FinestraInfoConsenso.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <vector>

#include "support/qt/ProvaQt.h"

namespace qzkiro::qt {
namespace {

RiepilogoConsensoFSE Riepilogo(int eta) {
  RiepilogoConsensoFSE r;
  r.paziente = "FERRARI GIULIA";
  r.eta = eta;
  r.righe = {{"Consenso all'alimentazione del FSEr", "14/03/2019", IconaConsenso::Rilasciato},
             {"Consenso alla consultazione del FSEr", "Revocato", IconaConsenso::Revocato},
             {"Consenso all'alimentazione del FSEr con documenti pregressi", "Non rilasciato",
              IconaConsenso::NonRilasciato}};
  return r;
}

TEST(FinestraInfoConsenso, UnaRigaPerTipoConStatoEIcona) {
  FinestraInfoConsenso finestra(Riepilogo(12));
  EXPECT_EQ(finestra.findChild<QLabel*>("paziente")->text(),
            QStringLiteral("FERRARI GIULIA (12 anni)"));
  EXPECT_EQ(finestra.findChild<QLabel*>("tipo1")->text(),
            QStringLiteral("Consenso alla consultazione del FSEr"));
  EXPECT_EQ(finestra.findChild<QLabel*>("stato0")->text(), QStringLiteral("14/03/2019"));
  EXPECT_EQ(finestra.findChild<QLabel*>("stato2")->text(), QStringLiteral("Non rilasciato"));
  std::vector<QImage> immagini;
  for (const char* icona : {"icona0", "icona1", "icona2"}) {
    const QPixmap p = finestra.findChild<QLabel*>(icona)->pixmap();
    ASSERT_FALSE(p.isNull()) << icona;
    immagini.push_back(p.toImage());
  }
  // Three states, three different pictures.
  EXPECT_NE(immagini[0], immagini[1]);
  EXPECT_NE(immagini[1], immagini[2]);
  EXPECT_NE(immagini[0], immagini[2]);
}

TEST(FinestraInfoConsenso, EtaSconosciutaNonMostrata) {
  FinestraInfoConsenso finestra(Riepilogo(-1));
  EXPECT_EQ(finestra.findChild<QLabel*>("paziente")->text(), QStringLiteral("FERRARI GIULIA"));
}

}  // namespace
}  // namespace qzkiro::qt
