#pragma once

#include <string>
#include <string_view>

namespace qzkiro::fhir {

// The query that finds a resource by one identifier:
// "identifier=" + system + "|" + value (e.g. kOidCodiceFiscale and a fiscal
// code). The system is written as given ("urn:oid:...").
std::string QueryIdentificativo(std::string_view sistema, std::string_view valore);

// The search of the server's CarePlans: by the user as performer when
// `cf_paziente` is empty, else by the patient; "&date=ge" / "&date=le" only
// for dates written "yyyy-mm-dd". Starts with "CarePlan?".
std::string QueryRicercaCarePlan(std::string_view cf_utente, std::string_view cf_paziente,
                                 std::string_view dalla_data, std::string_view alla_data);

// The search of the user's indicators: "/Observation?" + performer, "&code="
// only when `codice` is given, and the dates as above.
std::string QueryRicercaIndicatori(std::string_view cf_utente, std::string_view codice,
                                   std::string_view dalla_data, std::string_view alla_data);

// A date written "yyyy-mm-dd" (digits and dashes in their places).
bool DataRicerca(std::string_view testo);

// The id of the first "entry/resource/<tipo>" of a search Bundle whose
// "status" is not "cancelled" (every entry counts when `salta_annullate` is
// false, as the indicators flow reads it). "" when there is none, or the
// answer is not a Bundle.
std::string PrimoIdRisorsa(std::string_view risposta, std::string_view tipo,
                           bool salta_annullate = true);

}  // namespace qzkiro::fhir
