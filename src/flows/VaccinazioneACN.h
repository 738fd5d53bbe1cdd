#pragma once

#include "qzkiro/host/Variant.h"

namespace qzkiro::flows {

// Sends at once the care-plan flow of a vaccination just recorded in the
// patient's history (`storico`, a host::IItemStorico that must read as a
// vaccination); `workspace`, the vaccination's workspace record, takes the
// history item's date, text and vaccine (IDRif2). For a patient of another doctor of the group
// nothing is sent here: the user is told the data go with that doctor's flows. Otherwise the
// month's flow set is read (created when new), the patient's flow gathers the
// month's local records, a flow already sent is cancelled first, and the
// extended variant is sent; the flow set is saved. The flow's receipt is
// written into the workspace record (idrifp) and, unless `finale`, returned
// in `ricevuta`. Errors are shown in a box titled "KIRO" and left in
// the last error.
bool VaccinazioneACN(host::Variant& workspace, host::Variant& storico, host::Variant& ricevuta,
                     bool finale);

}  // namespace qzkiro::flows
