#pragma once

#include <string>
#include <vector>

#include "fhir/DatiFlusso.h"
#include "fhir/EsitoFhir.h"

namespace qzkiro::flows {

// The host user's items that keep the server ids of the indicators flow.
inline constexpr const char* kCachePractitionerPA = "KIRO.PA.ResPractitioner";
inline constexpr const char* kCacheOrganizationPA = "KIRO.PA.ResOrganization";

// The Practitioner and Organization ids of the indicators flow, each
// confirmed on the server before use: a search by the doctor's fiscal code
// (by the unit's code) gives the id, which is then kept in the user's items;
// a resource the server does not know (or only as cancelled) leaves the id
// empty and the cache cleared, so the Bundle creates it. A failed search
// stops the send: false, with the message in `errore`.
bool DaiIDRisorsaPA(const std::string& cf_medico, const std::string& azienda, fhir::IdRisorse& id,
                    std::string& errore);

// Keeps the ids the server assigned to the Practitioner and Organization a
// Bundle created (their locations in the answer).
void SalvaIDRisorsePA(const std::vector<fhir::RispostaVoce>& voci);

}  // namespace qzkiro::flows
