#pragma once

#include <string>
#include <string_view>

#include "fhir/EsitoFhir.h"
#include "flows/ClienteFhir.h"

namespace qzkiro::flows {

// Asks the server for the resource of `tipo` with the identifier
// `sistema`|`valore`: `id` is the first one not cancelled, "" when the server
// has none (so a cached id of a withdrawn resource is never reused). False,
// with the reason in `errore`, when the search fails or is refused.
bool CercaRisorsa(const ServizioFhir& servizio, fhir::FlussoFhir flusso, std::string_view tipo,
                  std::string_view sistema, const std::string& valore, std::string& id,
                  std::string& errore);

}  // namespace qzkiro::flows
