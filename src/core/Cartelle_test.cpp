#include "core/Cartelle.h"

#include <gtest/gtest.h>

#include "sandbox/server/CartellaTemporanea.h"

namespace qzkiro::core {
namespace {

namespace fs = std::filesystem;
using sandbox::CartellaTemporanea;

// An installed tree: the library deep in <prefix>/<libdir>, the files in the
// data folder the build placed relative to it.
struct Installazione {
  CartellaTemporanea radice;
  fs::path libreria = radice.Path() / "usr" / "lib" / "x86_64-linux-gnu" / "qualsiasi";
  fs::path dati = (libreria / QZKIRO_DATI_DA_LIBRERIA).lexically_normal();

  Installazione() { fs::create_directories(libreria); }
};

TEST(CartellaDati, LibreriaInstallataUsaLaCartellaDatiDiSistema) {
  Installazione inst;
  inst.radice.Scrivi(fs::relative(inst.dati / "servizi" / "SARR.mt1", inst.radice.Path()).string(), "x");
  EXPECT_EQ(CartellaDati(inst.libreria), inst.dati);
  EXPECT_NE(inst.dati, inst.libreria);
}

TEST(CartellaDati, LibreriaAccantoAiSuoiFilePrevaleSullInstallazione) {
  Installazione inst;
  inst.radice.Scrivi(fs::relative(inst.dati / "servizi" / "SARR.mt1", inst.radice.Path()).string(), "x");
  fs::create_directories(inst.libreria / "servizi");
  EXPECT_EQ(CartellaDati(inst.libreria), inst.libreria);
}

TEST(CartellaDati, SenzaFileDaNessunaParteRestaLaCartellaDellaLibreria) {
  Installazione inst;
  // A data folder without the templates is not the add-on's.
  fs::create_directories(inst.dati);
  EXPECT_EQ(CartellaDati(inst.libreria), inst.libreria);
}

}  // namespace
}  // namespace qzkiro::core
