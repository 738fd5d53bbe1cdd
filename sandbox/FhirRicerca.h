#pragma once

#include <string>
#include <string_view>

#include "sandbox/FhirDati.h"
#include "sandbox/Scambio.h"

namespace qzkiro::sandbox::fhir {

// A GET below the server's root; `percorso` is what follows the root
// (empty segments, as in "//CarePlan", are ignored) and `query` the text
// after '?', percent-encoded:
// - "<Type>/<id>" reads the current version, "<Type>/<id>/_history/<n>" one
//   version (404 with an OperationOutcome when unknown);
// - "<Type>" searches: a searchset Bundle of the current versions that
//   match every parameter (values separated by ',' are alternatives):
//     identifier=[system]|value   Patient, Practitioner, Organization
//     patient.identifier=...      CarePlan (subject), Observation (subject),
//                                 Immunization (patient)
//     performer.identifier=...    CarePlan (author, activity performers),
//                                 Observation (performer)
//     code=[system|]code          Observation
//     date=[ge|le|gt|lt|eq]yyyy-mm-dd  CarePlan (period), Observation
//                                 (effectivePeriod or effectiveDateTime):
//                                 the period overlaps the days asked
//   Another parameter or type is refused (400, 404).
// `base` makes the entries' fullUrl.
Risposta Consulta(const Archivio& archivio, std::string_view percorso, std::string_view query,
                  const std::string& base, const std::string& adesso,
                  const std::string& id_risposta);

}  // namespace qzkiro::sandbox::fhir
