#pragma once

#include <string>
#include <string_view>

#include "fhir/CodiciFhir.h"

namespace qzkiro::fhir {

// The national code of a vaccination's risk category, from the host's
// category text: "CR17 - Età maggiore o uguale a 65 anni", ... A text that
// already begins with "CS" or "CR" is returned unchanged; a blank text gives
// "" (no category); any text the table does not know gives "CR24 - Altro".
// The host text is compared trimmed and in upper case.
std::string CategoriaRischio(std::string_view testo_host);

// The category as the Immunization's explanation/reason coding: the part
// before " - " as code, the rest as display, under the reasons' system.
// Empty for a blank text.
Codifica CodificaCategoriaRischio(std::string_view testo_host);

}  // namespace qzkiro::fhir
