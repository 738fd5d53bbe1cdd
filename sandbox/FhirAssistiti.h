#pragma once

#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "sandbox/Fse.h"
#include "sandbox/RegioneHl7.h"
#include "sandbox/Scambio.h"

namespace qzkiro::sandbox::fhir {

// The regional FHIR server's list of a doctor's patients:
//   GET <radice>/Patient?general-practitioner.identifier=<kOidCodiceFiscale>|<CF>
//       &_elements=identifier
// answered with a searchset Bundle whose Patients carry only their
// identifiers (meta tag SUBSETTED): the fiscal code (kOidCodiceFiscale) and
// the MPI id (kOidMpi), in varying order, some with the health card too.
// Strict: exactly these two parameters, each once (values may be
// percent-encoded), the system of the fiscal code's, a 16-character fiscal
// code; anything else is 400 with an OperationOutcome. A doctor with no
// patients gets an empty Bundle.
//
// regione::kMedico's patients: ROSSI, NERI, BRUNI and GIALLI, whom the
// patient index knows (GIALLI is not among the stand-in host's patients), and
// kCfIgnotoMpi, whom the index does not know. BIANCHI, in the host's list of
// the doctor's patients, is no longer among them.
inline constexpr const char* kCfIgnotoMpi = "PLLMRC72B15L736W";
inline constexpr const char* kMpiIgnotoMpi = "MPI0000099";
inline constexpr const char* kOidTesseraSanitaria = "urn:oid:2.16.840.1.113883.2.9.4.3.7";

struct AssistitoFhir {
  std::string_view id, codice_fiscale, mpi;
};
// The patients of the doctor with fiscal code `cf_medico`, in the server's order.
std::span<const AssistitoFhir> AssistitiDi(std::string_view cf_medico);

// The request is the list of a doctor's patients: `percorso` (below the
// root) names Patient and the query has a "general-practitioner" parameter.
bool RichiestaAssistiti(std::string_view percorso, std::string_view query);

// The answer to that request; `base` makes the entries' fullUrl.
Risposta RispostaAssistiti(std::string_view query, const std::string& base,
                           const std::string& adesso, const std::string& id_risposta);

// The answer for regione::kMedico as the add-on's simulator file
// ("GetMyPatients/GetMyPatients.xml", content).
std::pair<std::string, std::string> FileSimulatoreAssistiti();

}  // namespace qzkiro::sandbox::fhir
