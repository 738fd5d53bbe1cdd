#pragma once

#include <string>
#include <vector>

namespace qzkiro::assistiti {

// Identifier systems of the regional FHIR server's patients.
inline constexpr const char* kSistemaCodiceFiscale = "urn:oid:2.16.840.1.113883.2.9.4.3.2";
inline constexpr const char* kSistemaMPI = "urn:oid:2.16.840.1.113883.2.9.2.50.4.1.2";

// The search of a doctor's patients, appended to the service's endpoint:
// "?general-practitioner.identifier=" + the fiscal code system + "|" +
// `cf_medico` + "&_elements=identifier".
std::string RicercaAssistiti(const std::string& cf_medico);

// One patient of the list: fiscal code (upper case) and regional index code,
// either "" when the server gives none.
struct AssistitoFse {
  std::string codice_fiscale;
  std::string mpi;
  friend bool operator==(const AssistitoFse&, const AssistitoFse&) = default;
};

// What an answer holds: whether it is a Bundle at all, and its patients.
struct ElencoAssistiti {
  bool letto = false;
  std::vector<AssistitoFse> assistiti;
};

// Reads a FHIR XML Bundle: each entry/resource/Patient gives, among its
// identifiers, the one of system kSistemaCodiceFiscale and the one of system
// kSistemaMPI, wherever they stand; a Patient with neither is left out.
ElencoAssistiti LeggiElencoAssistiti(const std::string& bundle);

// The details texts of an OperationOutcome's issues, one per line; "" for
// any other document.
std::string MotivoRifiuto(const std::string& risposta);

}  // namespace qzkiro::assistiti
