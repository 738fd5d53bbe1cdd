#include "qt/Galleria.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QWidget>
#include <cstdlib>
#include <filesystem>
#include <set>

#include "qt/TestiTagliati.h"

namespace qzkiro::qt {
namespace {

namespace fs = std::filesystem;

// The scale this process runs at: QT_SCALE_FACTOR, 1 when unset.
double Scala() {
  const char* s = std::getenv("QT_SCALE_FACTOR");
  return s ? std::atof(s) : 1.0;
}

// Where a temporary folder of Qt's (removed with what is in it) lies.
fs::path Percorso(const QTemporaryDir& cartella) { return cartella.path().toStdString(); }

TEST(Galleria, LaScalaDelProcessoEQuellaChiesta) {
  EXPECT_NEAR(qGuiApp->devicePixelRatio(), Scala(), 0.01);
}

TEST(Galleria, ScriveUnImmaginePerOgniFinestra) {
  QTemporaryDir cartella;
  const auto voci = VociGalleria();
  ASSERT_EQ(Galleria(Percorso(cartella), Scala()), static_cast<int>(voci.size()));
  std::set<std::string> nomi;
  for (const VoceGalleria& voce : voci) {
    SCOPED_TRACE(voce.nome);
    nomi.insert(voce.nome);
    const QImage immagine(
        QString::fromStdString((Percorso(cartella) / (voce.nome + ".png")).string()));
    ASSERT_FALSE(immagine.isNull());
    // The picture has the dialog's size at the process's scale.
    std::unique_ptr<QWidget> finestra = voce.crea();
    Prepara(*finestra);
    EXPECT_NEAR(immagine.width(), finestra->width() * Scala(), 1.0);
    EXPECT_NEAR(immagine.height(), finestra->height() * Scala(), 1.0);
    EXPECT_GT(finestra->width(), 100);
  }
  for (const char* atteso :
       {"frmPasswordAsserzione", "frmUpdatePasswordAsserzione", "TaskDialog_Appropriatezza",
        "TaskDialog_UnPulsante", "frmConsensoFSE", "frmEsitoInvioFSE", "frmInfoConsensoFSE",
        "frmInfoPortale", "frmAccessoACN", "GrigliaPDTA", "MsgBox_Informazione", "MsgBox_Avviso",
        "MsgBox_Errore", "MsgBox_Domanda"}) {
    EXPECT_TRUE(nomi.count(atteso)) << atteso;
  }
}

TEST(Galleria, UnaScalaDiversaDaQuellaDelProcessoNonScriveNulla) {
  QTemporaryDir cartella;
  EXPECT_EQ(Galleria(Percorso(cartella), Scala() + 1.0), 0);
  EXPECT_FALSE(fs::exists(Percorso(cartella) / "frmInfoPortale.png"));
}

TEST(Galleria, NessunTestoTagliato) {
  for (const VoceGalleria& voce : VociGalleria()) {
    SCOPED_TRACE(voce.nome);
    std::unique_ptr<QWidget> finestra = voce.crea();
    Prepara(*finestra);
    EXPECT_EQ(TestiTagliati(*finestra), std::vector<std::string>{});
    // Every tab, not only the one shown first.
    for (QTabWidget* schede : finestra->findChildren<QTabWidget*>()) {
      for (int i = 0; i < schede->count(); ++i) {
        schede->setCurrentIndex(i);
        Prepara(*finestra);
        EXPECT_EQ(TestiTagliati(*finestra), std::vector<std::string>{}) << "scheda " << i;
      }
    }
  }
}

TEST(Galleria, IlControlloTrovaUnTestoTagliato) {
  QWidget finestra;
  auto* layout = new QHBoxLayout(&finestra);
  auto* etichetta = new QLabel(QStringLiteral("Consenso all'alimentazione del FSEr"), &finestra);
  etichetta->setObjectName(QStringLiteral("stretta"));
  etichetta->setFixedWidth(40);
  auto* pulsante = new QPushButton(QStringLiteral("Riepilogo consensi"), &finestra);
  pulsante->setObjectName(QStringLiteral("largo"));
  layout->addWidget(etichetta);
  layout->addWidget(pulsante);
  Prepara(finestra);
  EXPECT_EQ(TestiTagliati(finestra),
            std::vector<std::string>{"QLabel stretta: Consenso all'alimentazione del FSEr"});
  pulsante->setMaximumWidth(30);
  Prepara(finestra);
  EXPECT_EQ(TestiTagliati(finestra).size(), 2u);
}

TEST(Galleria, IlControlloTrovaUnTestoACapoTroppoBasso) {
  QWidget finestra;
  auto* layout = new QHBoxLayout(&finestra);
  auto* etichetta = new QLabel(
      QStringLiteral("Per raggiunta maggiore età, è possibile rinnovare ora il consenso al FSEr "
                     "mettendo il segno di spunta sulle scelte del cittadino."),
      &finestra);
  etichetta->setWordWrap(true);
  etichetta->setFixedSize(120, 20);
  layout->addWidget(etichetta);
  Prepara(finestra);
  EXPECT_EQ(TestiTagliati(finestra).size(), 1u);
}

}  // namespace
}  // namespace qzkiro::qt
