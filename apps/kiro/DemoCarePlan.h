#pragma once

#include <iosfwd>

#include "Verifica.h"
#include "qzkiro/Plugin.h"
#include "refhost/Applicazione.h"
#include "sandbox/Ambiente.h"

namespace qzkiro::kiro {

// One patient's care-plan flow on the regional FHIR server: November's
// records sent (QZ04022_InvioPaziente), read back by the receipt, searched,
// resent as an update, a second plan of the same period refused (not in
// simulator mode, whose answers are fixed), and the plan cancelled. Over TLS
// against the sandbox's FHIR server, or from the simulator's files.
void DemoCarePlan(Plugin& plugin, sandbox::Ambiente& ambiente, refhost::Applicazione& host,
                  bool simulatore, Verifica& verifica, std::ostream& out);

}  // namespace qzkiro::kiro
