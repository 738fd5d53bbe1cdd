#pragma once

#include "qzkiro/host/Mef.h"

namespace qzkiro::mef {

// The host's MEF request by its Operazione: 19 list, 20 view, 21 list and
// then view of the plan found; send and cancel (22, 23, 24) are refused with
// the region's explanation, any other code is not handled. False with the
// add-on's last error on failure.
bool ServizioMEF(host::IMEF& mef);

// The patient's plans in the period (from 1900 when no start is given): the
// answer document to ResponseXML, the protocol number of the plan whose
// validity starts last to Response ("" when none), the service's errors to
// SetErrorCode.
bool ElencoPianiTerapeutici(host::IMEF& mef);

// The plan paramProtocolloSAC of the patient: the answer document to
// ResponseXML, the plan document to Response.
bool VisualizzaPianoTerapeutico(host::IMEF& mef);

}  // namespace qzkiro::mef
