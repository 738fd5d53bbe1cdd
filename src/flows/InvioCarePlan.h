#pragma once

#include "qzkiro/host/Collection.h"
#include "qzkiro/host/Variant.h"

namespace qzkiro::flows {

// What a care-plan send or cancellation is asked to do.
struct RichiestaCarePlan {
  bool esteso = false;        // the extended vaccination variant
  bool annullamento = false;  // cancel the CarePlan the flow's receipt names
  bool vaccinazione = false;  // a vaccination just recorded: its own unit cache key
};

// Sends one patient's care-plan flow for the period (or cancels it). The
// flow (`itm_flusso`, Framework.NewFlusso) names its patient by fiscal code
// in "anagrafica"; `lista` holds its local records (Framework.NewItemFlusso).
// A flow that already has a receipt is resent as an "update". The outcome
// goes into the flow, which is then saved: Stato 1 (5 for a cancellation),
// the receipt "CarePlan////" + id, IDRichiesta, dates, the answer in its memo;
// Stato 2 or 3 with the reasons in Errori. `cancel` becomes true when the
// flow was stopped before reaching the server (a missing identifier, a record
// that cannot be carried). After a cancellation `risorse_eliminate` lists the
// resources cancelled ("CarePlan/12;Immunization/13"). False, with the
// reason in the last error, unless the server accepted the Bundle.
bool InviaCarePlanACN(host::Collection& lista, host::Variant& itm_flusso,
                      const host::Variant& dalla_data, const host::Variant& alla_data,
                      host::Variant& cancel, const host::Variant& dalla_pc,
                      const host::Variant& alla_pc, host::Variant& risorse_eliminate,
                      RichiestaCarePlan richiesta);

// The diabetes-care measures (workspace records 204 and 210) of the patient
// with this fiscal code within the period, as flow items of Tipo 7 added to
// `records`; nothing for a patient not in diabetes care. False when the host
// has no such patient or the period is not a period.
bool RecordsLocaliACN(host::Collection& records, const host::Variant& codice_fiscale,
                      const host::Variant& dalla_data, const host::Variant& alla_data);

}  // namespace qzkiro::flows
