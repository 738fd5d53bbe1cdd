#pragma once

#include <string>
#include <string_view>

namespace qzkiro::flows {

// One service of the regional FHIR server: its name in the log and in the
// simulator, the service and context of its assertion, and the setting
// with the server's base address.
struct ServizioFhir {
  const char* nome;
  const char* asserzione;
  const char* chiave;
  const char* contesto = "C.1.1";
};

namespace servizio {
extern const ServizioFhir kInvioIndicatoriPA;
extern const ServizioFhir kRecuperoIndicatoriPA;
extern const ServizioFhir kRicercaFlussoPA;
extern const ServizioFhir kRisorsaPA;
extern const ServizioFhir kInvioFlussoACN;
extern const ServizioFhir kRecuperoCarePlan;
extern const ServizioFhir kRicercaCarePlan;
extern const ServizioFhir kRisorsaPatient;
extern const ServizioFhir kRisorsaACN;
}  // namespace servizio

// What came back from one exchange.
struct RispostaFhir {
  bool ricevuta = false;  // the server answered (any status) with a body
  std::string corpo;
  std::string errore;  // the user's text when nothing usable came back
};

// One exchange with the FHIR server: `metodo` ("GET", "POST", "PUT") to the
// service's base address followed by `percorso` ("", "/Observation/12",
// "/Observation?code=..."), the body as "application/fhir+xml", deflate
// accepted, with an assertion of the service (renewed and the request sent
// again once on an assertion error), the settings' certificate and proxy.
// An answer with an error status still counts as received when it has a
// body: the server explains its refusals in an OperationOutcome.
RispostaFhir ChiamaFhir(const ServizioFhir& servizio, std::string_view metodo,
                        std::string_view percorso, std::string_view corpo = {});

}  // namespace qzkiro::flows
