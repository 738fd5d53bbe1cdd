#include "flows/ClienteFhir.h"

#include "core/Contesto.h"
#include "core/modLog.h"
#include "net/clsAsserzione.h"
#include "net/clsREST.h"

namespace qzkiro::flows {

namespace servizio {
const ServizioFhir kInvioIndicatoriPA{"InvioIndicatoriPA", "FlussoPA", "indicatoripa"};
const ServizioFhir kRecuperoIndicatoriPA{"RecuperoIndicatoriPA", "FlussoPA", "indicatoripa"};
const ServizioFhir kRicercaFlussoPA{"RicercaFlussoPA", "FlussoPA", "indicatoripa"};
const ServizioFhir kRisorsaPA{"DaiIDRisorsaPA", "FlussoPA", "indicatoripa"};
const ServizioFhir kInvioFlussoACN{"InvioFlussoACN", "FlussoACN", "acn"};
const ServizioFhir kRecuperoCarePlan{"RecuperoCarePlan", "FlussoACN", "acn"};
const ServizioFhir kRicercaCarePlan{"RicercaCarePlan", "FlussoACN", "acn"};
const ServizioFhir kRisorsaPatient{"DaiRisorsaPatient", "FlussoACN", "acn"};
const ServizioFhir kRisorsaACN{"DaiIDRisorsaACN", "FlussoACN", "acn"};
}  // namespace servizio

RispostaFhir ChiamaFhir(const ServizioFhir& servizio, std::string_view metodo,
                        std::string_view percorso, std::string_view corpo) {
  auto& c = core::Ctx();
  RispostaFhir esito;
  auto* identita = dynamic_cast<net::clsAsserzione*>(c.servizio_asserzione.get());
  if (!identita) {
    esito.errore = "Servizio di autenticazione non disponibile";
    return esito;
  }
  auto item = identita->DaiAsserzione(servizio.asserzione, servizio.contesto, "", "", "", "");
  if (!item) {
    esito.errore = identita->LastError();
    return esito;
  }
  net::clsREST rest;
  rest.ImpostaDaSettings(c.settings);
  rest.URL = c.settings.Endpoint(servizio.chiave) + std::string(percorso);
  rest.Method = std::string(metodo);
  rest.ContentType = "application/fhir+xml";
  rest.AcceptEncoding = "deflate";
  rest.Servizio = servizio.nome;
  rest.FileLog = core::modLog::SoapDumpFileName(c);
  const bool inviata = rest.SendAsserzione(std::string(corpo), *item, true, false);
  esito.corpo = inviata ? rest.PrendiResponse() : rest.LastErrorResponse();
  esito.ricevuta = !esito.corpo.empty() && (inviata || rest.LastHttpError() != "0");
  if (!esito.ricevuta)
    esito.errore = inviata ? "Il server non ha inviato risposta" : rest.LastError();
  return esito;
}

}  // namespace qzkiro::flows
