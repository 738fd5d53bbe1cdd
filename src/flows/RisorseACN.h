#pragma once

#include <string>

#include "fhir/DatiFlusso.h"
#include "qzkiro/host/Archivio.h"

namespace qzkiro::flows {

// Where the care-plan flow keeps the server's ids: the patient's in the
// patient's items, written with the key as a prefix
// ("KIRO.ACN.ResPatient:1001"); the doctor's and the unit's in the user's
// items, the unit's key followed by its code.
inline constexpr const char* kCachePatient = "KIRO.ACN.ResPatient";
inline constexpr const char* kCachePractitionerACN = "KIRO.ACN.ResPractitioner";
inline constexpr const char* kCacheOrganizationACN = "KIRO.ACN.ResOrganization.";
// The unit's id as the vaccination just recorded keeps it.
inline constexpr const char* kCacheOrganizationVaccinazione = "KIRO.ACN.Organization.";

// The Patient, Practitioner and Organization ids of a care-plan send, each
// confirmed on the server before use (`DaiIDRisorsaACN`): the patient by
// fiscal code, or by regional identifier `mpi` in the extended variant; the
// doctor by fiscal code; the unit by its code. What the server has (not
// cancelled) is cached and used; what it lacks leaves the id empty and the
// cache cleared, so the Bundle creates it again. False, with the reason in
// `errore`, when a search fails.
bool DaiIDRisorseACN(host::IPaziente& paziente, const std::string& mpi, bool esteso,
                     fhir::IdRisorse& id, std::string& errore,
                     const char* cache_organizzazione = kCacheOrganizationACN);

}  // namespace qzkiro::flows
