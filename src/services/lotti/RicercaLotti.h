#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qzkiro::lotti {

// The path of the lot search below the service's base address.
inline constexpr const char* kPercorsoLotti = "/ricercalotti/infolotti.svc/infolotti?";

// The query of a search: by active principle ("princVacc=") when the antigen
// code is given, else by the drug's AIC code ("aic="), then the user's
// health unit as organization. Values are percent-encoded.
std::string QueryLotti(const std::string& codice_antigene, const std::string& codice_aic,
                       const std::string& codice_regione_asl);

// Each "lotto" of the answer as one line: "numero", "scadenza", "aic" and
// "princVacc" separated by tabs, in the answer's order; nullopt when the
// answer is not XML.
std::optional<std::vector<std::string>> LeggiLotti(const std::string& risposta);

}  // namespace qzkiro::lotti
