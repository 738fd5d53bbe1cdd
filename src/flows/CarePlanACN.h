#pragma once

#include "qzkiro/host/Collection.h"
#include "qzkiro/host/Variant.h"

namespace qzkiro::flows {

// The care-plan flow's reads on the regional FHIR server. A care-plan flow
// (Framework.NewFlusso) names its patient by fiscal code in "anagrafica".

// The name under which a patient the host does not know is shown.
inline constexpr const char* kSconosciuto = "SCONOSCIUTO";

// Reads back the CarePlan a flow's receipt names into a new flow (Stato 4,
// the source flow's Errori, dates, IDRichiesta and anagrafica, ServerStatus
// from the server), handed back in `recuperato`.
bool RecuperaCarePlanACN(host::Variant& flusso, host::Variant& recuperato);

// Searches the server's CarePlans: the user's as performer when
// `cf_paziente` is empty, else the patient's; dates as "yyyy-mm-dd" limits
// when they are dates. Each becomes a new flow (Stato 4) in `flussi`, its
// patient found by the fiscal code of the Patient it names (fetched once per
// id, then cached in the local patient's items), "SCONOSCIUTO" when the host
// has no such patient.
bool RicercaCarePlanACN(host::Collection& flussi, const host::Variant& cf_paziente,
                        const host::Variant& dalla_data, const host::Variant& alla_data);

}  // namespace qzkiro::flows
