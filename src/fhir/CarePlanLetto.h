#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qzkiro::fhir {

inline constexpr std::string_view kCarePlanNonTrovato = "CarePlan non trovato";

// A CarePlan of the server, with what a local flow object takes from it.
struct CarePlanLetto {
  std::string Id;
  std::string Stato;                // status: the flow's ServerStatus
  std::string UltimoAggiornamento;  // meta/lastUpdated: the flow's DataInvio
  std::string Commento;             // activity/detail/description: ServerComment
  std::string RiferimentoPaziente;  // subject/reference, "Patient/7"
  std::string IdPaziente;           // "7"
  std::string InizioPeriodo;        // period/start
  std::string FinePeriodo;          // period/end
  std::string Ricevuta;             // "CarePlan////" + id
};

// A read back (GET "CarePlan/" + id) or a search's CarePlans.
struct CarePlanRicevuti {
  std::string Errore;  // "" on success
  std::vector<CarePlanLetto> CarePlan;
};

// The answer of a read back: a CarePlan gives one element; an
// OperationOutcome its lines; another resource "CarePlan non trovato"; text
// that is not XML "Il server ha risposto in modo anomalo.". Never throws.
CarePlanRicevuti LeggiCarePlan(std::string_view risposta);

// The answer of a search: every "entry/resource/CarePlan" of the Bundle, in
// order (none is no error); an OperationOutcome gives its lines; another
// document "Formato di risposta del messaggio sconosciuto."; text that is not
// XML "Il server ha risposto in modo anomalo.".
CarePlanRicevuti LeggiRicercaCarePlan(std::string_view risposta);

// A Patient read back to match a searched CarePlan to a local patient.
struct PazienteLetto {
  std::string Id;
  std::string CodiceFiscale;  // the identifier of system kOidCodiceFiscale
  std::string Cognome;        // name/family
  std::string Nome;           // name/given
};

// The Patient of an answer; every field "" when the answer holds none.
PazienteLetto LeggiPaziente(std::string_view risposta);

}  // namespace qzkiro::fhir
