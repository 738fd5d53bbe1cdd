#pragma once

#include "qzkiro/host/Collection.h"
#include "qzkiro/host/Variant.h"

namespace qzkiro::flows {

// The PA indicators flow on the regional FHIR server. The host's list holds
// PA flows (Framework.NewFlussoPA), one per indicator, each carrying its
// indicator item (NewItemFlussoPA) as the first of its DatiRecuperati.

// Sends the indicators of the period (`elimina`: the same Bundle with every
// Observation cancelled; `esteso`: the MessageHeader also names the sender)
// and writes the outcome into each flow: Stato 1 (5 for a cancellation),
// receipt "Observation////" + id, IDRichiesta, dates and the answer; Stato 2
// or 3 with the server's reasons in Errori. False, with the reason in the
// last error, when nothing was accepted.
bool InviaIndicatoriPA(host::Collection& lista, const host::Variant& dalla_data,
                       const host::Variant& alla_data, bool elimina, bool esteso);

// Reads back the Observation a flow's receipt names into a new PA flow
// (Stato 4, the source's Errori and dates, the indicator in DatiRecuperati),
// handed back in `recuperato`.
bool RecuperaIndicatorePA(host::Variant& flusso, host::Variant& recuperato);

// Searches the user's Observations (by indicator code when given, by date
// when the dates are dates); each becomes a PA flow (Stato 4) added to
// `flussi`.
bool RicercaIndicatoriPA(host::Collection& flussi, const host::Variant& codice,
                         const host::Variant& dalla_data, const host::Variant& alla_data);

}  // namespace qzkiro::flows
