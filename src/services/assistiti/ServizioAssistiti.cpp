#include "services/assistiti/ServizioAssistiti.h"

#include "core/Contesto.h"
#include "core/modLog.h"
#include "net/clsAsserzione.h"
#include "net/clsREST.h"

namespace qzkiro::assistiti {

namespace {

const std::string kPrefisso = std::string("Errore servizio ") + kServizio + ": ";

EsitoElenco Fallito(std::string errore) {
  core::modLog::Log(kServizio, errore, true);
  return {false, {}, std::move(errore)};
}

// The reason of a refused request: the server's OperationOutcome when it
// sent one, else the transport's message.
std::string Rifiuto(const net::clsREST& rest) {
  const std::string motivo = MotivoRifiuto(rest.LastErrorResponse());
  if (motivo.empty()) return rest.LastError();
  return kPrefisso + motivo;
}

}  // namespace

EsitoElenco ChiediElencoAssistiti() {
  auto& c = core::Ctx();
  const std::string endpoint = c.settings.Endpoint("getmypatients");
  if (endpoint.empty()) return Fallito(kPrefisso + "indirizzo del servizio non configurato");
  auto* identita = dynamic_cast<net::clsAsserzione*>(c.servizio_asserzione.get());
  if (!identita) return Fallito("Servizio di autenticazione non disponibile");
  auto item = identita->DaiAsserzione(kServizioAsserzione, "C.1.1", "", "", "", "");
  if (!item) return Fallito(identita->LastError());

  net::clsREST rest;
  rest.ImpostaDaSettings(c.settings);
  rest.URL = endpoint + RicercaAssistiti(c.App().Utente().CodiceFiscale());
  rest.Method = "GET";
  rest.AcceptEncoding = "deflate";
  rest.Servizio = kServizio;
  rest.FileLog = core::modLog::SoapDumpFileName(c);
  if (!rest.SendAsserzione("", *item, true, false)) return Fallito(Rifiuto(rest));
  const std::string risposta = rest.PrendiResponse();
  if (risposta.empty()) return Fallito(kPrefisso + "Nessuna risposta ricevuta.");
  ElencoAssistiti elenco = LeggiElencoAssistiti(risposta);
  if (!elenco.letto)
    return Fallito(kPrefisso + "la risposta del server non è un elenco di pazienti");
  return {true, std::move(elenco.assistiti), {}};
}

}  // namespace qzkiro::assistiti
