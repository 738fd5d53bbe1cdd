#include "net/EsitoScambio.h"

#include <gtest/gtest.h>

#include "support/TrasportoScriptato.h"

namespace qzkiro::net {
namespace {

using testsupport::FaultSoap;
using T = testsupport::TrasportoScriptato;

constexpr const char* kIrraggiungibile =
    "Server non raggiungibile. Verificare la connessione o riprovare più tardi";
constexpr const char* kNonAutorizzato =
    "Utente non autorizzato. Verificare che Username e Password siano corretti e non scaduti";
constexpr const char* k504 =
    "Il sistema non ha risposto entro il tempo stabilito.\r\nPotrebbe trattarsi di un problema "
    "momentaneo pertanto si invita a riprovare più tardi";

// The same answer with status 200.
core::RispostaHttp A200(core::RispostaHttp r) {
  r.stato = 200;
  return r;
}

const char* Nome(FormaScambio forma) {
  switch (forma) {
    case FormaScambio::kSoap:
      return "SOAP";
    case FormaScambio::kSoapBinario:
      return "SOAP binario";
    case FormaScambio::kSoapCns:
      return "SOAP CNS";
    case FormaScambio::kRest:
      return "REST";
  }
  return "?";
}

TEST(EsitoScambioTest, EachClientSortsWhatCameBackAndTellsTheUserItsMessage) {
  struct Caso {
    FormaScambio forma;
    core::RispostaHttp risposta;
    EsitoScambio esito;
    std::string messaggio;
  };
  using F = FormaScambio;
  using E = EsitoScambio;
  const Caso casi[] = {
      // A text envelope or a prepared request.
      {F::kSoap, T::Stato(200, "<ok/>"), E::kRiuscito, ""},
      {F::kSoap, A200(FaultSoap("in un 200")), E::kRiuscito, ""},
      {F::kSoap, T::NessunaRisposta("Connection refused"), E::kNessunaRisposta, kIrraggiungibile},
      {F::kSoap, T::TempoScaduto("timeout: Operation timed out"), E::kTempoScaduto,
       kIrraggiungibile},
      {F::kSoap, T::Stato(401, "<x/>"), E::kNonAutorizzato, kNonAutorizzato},
      {F::kSoap, FaultSoap("NRE inesistente"), E::kStato, "NRE inesistente"},
      {F::kSoap, T::Stato(500, "<ns:Description>Ricetta annullata</ns:Description>"), E::kStato,
       "Ricetta annullata"},
      {F::kSoap, T::Stato(503, "Service Unavailable", "Service Unavailable"), E::kStato,
       "Errore di comunicazione 503"},
      {F::kSoap, T::Stato(504, "upstream"), E::kStato, "Errore di comunicazione 504"},
      // REST: the gateway's time-out has its own words.
      {F::kRest, T::Stato(504, "upstream"), E::kNonRispostoInTempo, k504},
      {F::kRest, T::Stato(200, "{}"), E::kRiuscito, ""},
      {F::kRest, T::Stato(401), E::kNonAutorizzato, kNonAutorizzato},
      {F::kRest, T::NessunaRisposta("Could not resolve host"), E::kNessunaRisposta,
       kIrraggiungibile},
      {F::kRest, T::Stato(400, "<OperationOutcome><Description>Risorsa non valida</Description>"),
       E::kStato, "Risorsa non valida"},
      // A byte body: the answer is not searched, and no answer reads as status 0.
      {F::kSoapBinario, T::Stato(200, "<ok/>"), E::kRiuscito, ""},
      {F::kSoapBinario, T::Stato(401), E::kNonAutorizzato, kNonAutorizzato},
      {F::kSoapBinario, FaultSoap("non letto"), E::kStatoBinario, "Errore di comunicazione 500"},
      {F::kSoapBinario, T::NessunaRisposta("Connection refused"), E::kStatoBinario,
       "Errore di comunicazione 0"},
      {F::kSoapBinario, T::TempoScaduto("timeout: x"), E::kStatoBinario,
       "Errore di comunicazione 0"},
      {F::kSoapBinario, T::NessunaRisposta("<faultstring>dal proxy</faultstring>"),
       E::kStatoBinario, "dal proxy"},
      // The other client: any answer without a fault is accepted, whatever its status.
      {F::kSoapCns, T::Stato(500, "<x/>"), E::kRiuscito, ""},
      {F::kSoapCns, T::Stato(401), E::kRiuscito, ""},
      {F::kSoapCns, A200(FaultSoap("Firma non valida")), E::kFaultSoap, "Firma non valida"},
      {F::kSoapCns, T::Stato(500, "<Description>d</Description><faultstring>f</faultstring>"),
       E::kFaultSoap, "f"},
      {F::kSoapCns, T::NessunaRisposta("SSL connect error"), E::kNessunaRisposta, kIrraggiungibile},
      {F::kSoapCns, T::TempoScaduto("Timeout waiting for response"), E::kTempoScaduto,
       kIrraggiungibile},
  };
  for (const auto& caso : casi) {
    SCOPED_TRACE(std::string(Nome(caso.forma)) + " " + std::to_string(caso.risposta.stato) + " " +
                 caso.risposta.corpo + caso.risposta.errore);
    const EsitoScambio esito = ClassificaRisposta(caso.forma, caso.risposta);
    EXPECT_EQ(esito, caso.esito);
    EXPECT_EQ(MessaggioEsito(esito, caso.risposta), caso.messaggio);
  }
}

TEST(EsitoScambioTest, OutcomesReadFromTheAnswerAServiceLeft) {
  auto kept = [](std::string corpo, std::string errore) {
    core::RispostaHttp r;
    r.corpo = std::move(corpo);
    r.errore = std::move(errore);
    return r;
  };
  struct Caso {
    EsitoScambio esito;
    core::RispostaHttp risposta;
    std::string messaggio;
  };
  const Caso casi[] = {
      {EsitoScambio::kFaultServizio, kept(FaultSoap("Ricetta A &amp; B").corpo, kIrraggiungibile),
       "Ricetta A & B"},
      {EsitoScambio::kFaultServizio, kept("Connection refused", kIrraggiungibile),
       kIrraggiungibile},
      {EsitoScambio::kFaultServizio, kept("<Envelope><Body/></Envelope>", ""),
       "Errore sconosciuto"},
      {EsitoScambio::kFaultServizio, kept("", "Retry"), "Retry"},
      {EsitoScambio::kTempoScadutoServizio,
       {},
       "Il sistema non ha risposto nei tempi prestabiliti (Timeout)"},
      {EsitoScambio::kRiuscito, {}, ""},
  };
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.risposta.corpo);
    EXPECT_EQ(MessaggioEsito(caso.esito, caso.risposta), caso.messaggio);
  }
}

}  // namespace
}  // namespace qzkiro::net
