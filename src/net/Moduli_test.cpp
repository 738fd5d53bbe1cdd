#include "qzkiro/Moduli.h"

#include <gtest/gtest.h>

namespace qzkiro {
namespace {

TEST(ModuliTest, FormsRefuseWhatTheUserMustCorrect) {
  frmPasswordAsserzione credenziali;
  credenziali.Responsabili = {{"RSSMRA70A01L736S", "ROSSI MARIO"}};
  EXPECT_EQ(credenziali.Valida(), "Il nome utente non può essere vuoto");
  credenziali.UserName = "mrossi";
  EXPECT_EQ(credenziali.Valida(), "Il nome del responsabile non può essere vuoto");
  credenziali.IndiceResponsabile = 1;
  EXPECT_EQ(credenziali.Scelto(), nullptr);
  credenziali.IndiceResponsabile = 0;
  EXPECT_EQ(credenziali.Valida(), "");
  EXPECT_EQ(credenziali.Scelto()->NomeCompleto, "ROSSI MARIO");
  credenziali.IndiceResponsabile = -1;
  credenziali.RichiedeResponsabile = false;
  EXPECT_EQ(credenziali.Valida(), "");

  frmUpdatePasswordAsserzione cambio;
  cambio.NuovaPassword = "Nuova.1";
  EXPECT_EQ(cambio.Valida(), "Ridigitare la nuova password nel campo 'Ridigita password'");
  cambio.Ridigita = "nuova.1";
  EXPECT_EQ(cambio.Valida(), "La nuova password non coincide con quella ridigitata");
  cambio.Ridigita = "Nuova.1";
  EXPECT_EQ(cambio.Valida(), "");
}

}  // namespace
}  // namespace qzkiro
