#include "plugin/Composizione.h"

#include <gtest/gtest.h>

#include <typeinfo>

#include "net/RotteNet.h"
#include "net/clsAsserzione.h"
#include "services/regione/RotteRegione.h"
#include "services/ricette/RotteRicette.h"

namespace qzkiro {
namespace {

// The slot holds the module's routine itself, not the stand-in or a copy of
// another routine.
template <class Firma>
bool Registrata(const std::function<Firma>& rotta, Firma* routine) {
  auto* puntatore = rotta.template target<Firma*>();
  return puntatore && *puntatore == routine;
}

class ComposizioneTest : public ::testing::Test {
 protected:
  ~ComposizioneTest() override { core::NuovoContesto(); }
  core::Contesto& c_ = core::NuovoContesto();
};

TEST_F(ComposizioneTest, EveryImplementedRoutineReachesItsSlot) {
  Componi(c_);
  auto& r = c_.rotte;
#define QZKIRO_CONTROLLA(nome) EXPECT_TRUE(Registrata(r.nome, &op::nome)) << #nome
  QZKIRO_CONTROLLA(InviaIDSessione);
  QZKIRO_CONTROLLA(ImpostaToken);
  QZKIRO_CONTROLLA(ModificaPassword);
  QZKIRO_CONTROLLA(VisualizzaPrescrizione);
  QZKIRO_CONTROLLA(InviaRicetteSospese);
  QZKIRO_CONTROLLA(InviaListaRicette);
  QZKIRO_CONTROLLA(AnnullaPrescrizione);
  QZKIRO_CONTROLLA(AnnullaPrescrizioneBianca);
  QZKIRO_CONTROLLA(InterrogaAnagrafica);
  QZKIRO_CONTROLLA(InterrogaAnagraficaHL7);
  QZKIRO_CONTROLLA(ElencoAssistitiHL7);
  QZKIRO_CONTROLLA(RefertiSARR);
  QZKIRO_CONTROLLA(RefertiSARRePS);
  QZKIRO_CONTROLLA(RicoveriSARIR);
  QZKIRO_CONTROLLA(InviaSAASN);
  QZKIRO_CONTROLLA(ApriNotifica);
#undef QZKIRO_CONTROLLA
  ASSERT_TRUE(r.CreaServizioAsserzione);
  EXPECT_NE(dynamic_cast<net::clsAsserzione*>(r.CreaServizioAsserzione().get()), nullptr);
}

TEST_F(ComposizioneTest, StandInsAnswerUntilRegisteredAndAReplacedSlotStays) {
  host::Collection param;
  host::Variant modello;
  EXPECT_FALSE(c_.rotte.RefertiSARR(param, modello));
  EXPECT_EQ(c_.last_error, core::kServizioNonImplementato);
  EXPECT_FALSE(c_.rotte.CreaServizioAsserzione);

  // Composed, no routine is left to the not-implemented stand-in.
  Componi(c_);
  using host::Collection;
  using host::Variant;
#define QZKIRO_NESSUN_SEGNAPOSTO(result, name, params)                                   \
  EXPECT_NE(c_.rotte.name.target_type(), typeid(core::NonImplementato<result params>)) \
      << #name;
  QZKIRO_OPERAZIONI(QZKIRO_NESSUN_SEGNAPOSTO)
#undef QZKIRO_NESSUN_SEGNAPOSTO

  // A test's replacement survives a Plugin made afterwards on the same context.
  c_.rotte.RefertiSARR = [](host::Collection&, host::Variant&) { return true; };
  Componi(c_);
  EXPECT_TRUE(c_.rotte.RefertiSARR(param, modello));
}

}  // namespace
}  // namespace qzkiro
