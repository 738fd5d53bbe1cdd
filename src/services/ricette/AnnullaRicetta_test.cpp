// The outcomes of a cancellation's receipt, on the scripted transport.

#include <gtest/gtest.h>

#include "services/ricette/InvioRicetta.h"
#include "services/ricette/ProveRicette_test.h"

namespace qzkiro::services {
namespace {

using namespace prove;

// An AnnullaPrescrittoRicevuta with outcome `codice` and, when `errore` is
// given, one ErroreRicetta; `tipo` is its tipoErrore, left out when empty.
core::RispostaHttp Ricevuta(const std::string& codice, const std::string& errore = {},
                            const std::string& tipo = {}) {
  std::string voce;
  if (!errore.empty()) {
    voce = "<ann:ElencoErroriRicette><ann:ErroreRicetta><ann:codEsito>" + errore +
           "</ann:codEsito><ann:esito>Esito " + errore + "</ann:esito>" +
           (tipo.empty() ? "" : "<ann:tipoErrore>" + tipo + "</ann:tipoErrore>") +
           "</ann:ErroreRicetta></ann:ElencoErroriRicette>";
  }
  return testsupport::TrasportoScriptato::Stato(
      200,
      "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body>"
      "<ann:AnnullaPrescrittoRicevuta "
      "xmlns:ann=\"http://annullaprescrittoricevuta.xsd.dem.sanita.finanze.it\">"
      "<ann:codEsitoAnnullamento>" +
          codice + "</ann:codEsitoAnnullamento>" + voce +
          "</ann:AnnullaPrescrittoRicevuta></soap:Body></soap:Envelope>");
}

TEST(AnnullaRicettaTest, BlockingErrorsFailWhileWarningsAndAlreadyCancelledSucceed) {
  struct Caso {
    const char* nome;
    core::RispostaHttp risposta;
    bool annullata;
    std::string testo;  // the last error of a failure, the warning's text of a success
  };
  const Caso casi[] = {
      {"an error without tipoErrore is a warning", Ricevuta("2222", "4010"), true,
       "Annullamento Prescrizione: 4010 - Esito 4010"},
      {"a non-blocking error is a warning", Ricevuta("2222", "4010", "Non bloccante"), true,
       "Annullamento Prescrizione: 4010 - Esito 4010"},
      {"already cancelled", Ricevuta("2222", "5005", "Bloccante"), true, ""},
      {"cancelled before", Ricevuta("2222", "1120", "Bloccante"), true, ""},
      {"a blocking error", Ricevuta("2222", "5002", "Bloccante"), false,
       "Annullamento Prescrizione: 5002 - Esito 5002"},
      {"no error given", Ricevuta("2222"), false, "Annullamento Prescrizione: esito 2222"},
  };
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.nome);
    BancoRicette b;
    b.rete->Accoda(kAnnulla, caso.risposta);
    auto ricetta = BancoRicette::Campione("rossa_farmaci.json");
    ricetta->Imposta("NRE", "050A00000000042");

    EXPECT_EQ(AnnullaPrescrizione(*ricetta, true), caso.annullata);
    const auto& box = b.env.Ui().Mostrati();
    if (caso.annullata) {
      ASSERT_EQ(box.size(), caso.testo.empty() ? 0u : 1u);
      for (const auto& avviso : box) {
        EXPECT_EQ(avviso.testo, caso.testo);
        EXPECT_EQ(avviso.titolo, "KIRO");
      }
    } else {
      EXPECT_EQ(core::Ctx().last_error, caso.testo);
      EXPECT_TRUE(box.empty());
    }
    EXPECT_EQ(b.Invii(), (std::vector<std::string>{"login", "annulla nre=050A00000000042 A1"}));
  }
}

}  // namespace
}  // namespace qzkiro::services
