#pragma once

#include <string>
#include <vector>

#include "services/assistiti/ElencoAssistiti.h"

namespace qzkiro::assistiti {

// The service's name in the log, in the simulator and in its messages, and
// the service of its assertion.
inline constexpr const char* kServizio = "GetMyPatients";
inline constexpr const char* kServizioAsserzione = "QueryPaziente";

// The outcome of asking for the user's patients.
struct EsitoElenco {
  bool riuscito = false;
  std::vector<AssistitoFse> assistiti;
  std::string errore;  // the user's text of a failure
};

// The user's patients from the regional FHIR server ("client/getmypatients"):
// a GET of RicercaAssistiti with the user's fiscal code, an assertion of
// kServizioAsserzione in the Authorization header (renewed and sent again
// once on an assertion error), deflate accepted, the settings' certificate
// and proxy. An answer that is not a Bundle fails: a list that cannot be read
// is never taken for an empty one.
EsitoElenco ChiediElencoAssistiti();

}  // namespace qzkiro::assistiti
