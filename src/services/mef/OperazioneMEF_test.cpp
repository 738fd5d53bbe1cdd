#include "services/mef/OperazioneMEF.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/Contesto.h"
#include "refhost/Mef.h"
#include "services/mef/RotteMef.h"
#include "support/AmbientePlugin.h"
#include "support/TrasportoScriptato.h"

namespace qzkiro::mef {
namespace {

constexpr const char* kSecondaRiga =
    "Gli operatori autorizzati hanno a disposizione una specifica applicazione web.";

struct MefTest : ::testing::Test {
  testsupport::AmbienteConHost env;
  // Any request reaching the network fails the test.
  std::shared_ptr<testsupport::TrasportoScriptato> rete =
      testsupport::TrasportoScriptato::Installa(env.Contesto());
};

TEST_F(MefTest, SendCancelAndUnknownOperationsAreRefusedWithoutAnyRequest) {
  const std::pair<int, std::string> casi[] = {
      {22, "In Veneto non è possibile inviare il PT Elettronico tramite applicativo.\r\n" +
               std::string(kSecondaRiga)},
      {24, "In Veneto non è possibile inviare il PT Elettronico tramite applicativo.\r\n" +
               std::string(kSecondaRiga)},
      {23, "In Veneto non è possibile annullare il PT Elettronico tramite applicativo.\r\n" +
               std::string(kSecondaRiga)},
      {18, "Servizio MEF non gestito"},
      {25, "Servizio MEF non gestito"},
      {0, "Servizio MEF non gestito"},
  };
  for (const auto& [operazione, testo] : casi) {
    refhost::Mef mef(operazione, "BNCGLI80A41L736C");
    mef.response = "precedente";
    env.Contesto().last_error.clear();
    EXPECT_FALSE(ServizioMEF(mef)) << operazione;
    EXPECT_EQ(env.Contesto().last_error, testo) << operazione;
    EXPECT_EQ(mef.response, "precedente") << operazione;
  }
  EXPECT_TRUE(rete->Inviate().empty());
}

TEST_F(MefTest, ARequestWithoutPatientOrWithABadDateIsRefusedBeforeSending) {
  struct Caso {
    int operazione;
    const char* paziente;
    const char* dal;
    const char* al;
    const char* errore;
  };
  const Caso casi[] = {
      {19, "", "", "", "Codice fiscale del paziente non indicato"},
      {20, "", "", "", "Codice fiscale del paziente non indicato"},
      {21, "BNCGLI80A41L736C", "31/02/2026", "",
       "Data di inizio del periodo non valida: 31/02/2026"},
      {19, "BNCGLI80A41L736C", "", "2026-13-01", "Data di fine del periodo non valida: 2026-13-01"},
      {19, "BNCGLI80A41L736C", "", "",
       "Non è stato possibile cifrare il codice fiscale del paziente con il certificato fse.cer"},
  };
  for (const Caso& caso : casi) {
    refhost::Mef mef(caso.operazione, caso.paziente);
    mef.dalla_data = host::Variant(caso.dal);
    mef.alla_data = host::Variant(caso.al);
    EXPECT_FALSE(ServizioMEF(mef));
    EXPECT_EQ(env.Contesto().last_error, caso.errore);
  }
  EXPECT_TRUE(rete->Inviate().empty());
}

TEST_F(MefTest, TheRouteNeedsTheHostsRequestObject) {
  core::Rotte rotte;
  RegistraRotte(rotte);
  host::Variant modello, nessuno, altro("19");
  EXPECT_FALSE(rotte.OperazioneMEF(modello, nessuno));
  EXPECT_EQ(env.Contesto().last_error,
            "Richiesta MEF non valida: l'oggetto della richiesta è mancante");
  auto mef = std::make_shared<refhost::Mef>(22, "BNCGLI80A41L736C");
  host::Variant richiesta(mef);
  EXPECT_FALSE(rotte.OperazioneMEF(modello, richiesta));
  EXPECT_NE(env.Contesto().last_error.find("inviare il PT"), std::string::npos)
      << "the registered routine is the dispatcher";
  EXPECT_FALSE(rotte.OperazioneMEF(modello, altro));
}

}  // namespace
}  // namespace qzkiro::mef
