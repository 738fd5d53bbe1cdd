#pragma once

#include <iosfwd>

#include "Verifica.h"
#include "qzkiro/Plugin.h"
#include "refhost/Applicazione.h"
#include "sandbox/Ambiente.h"

namespace qzkiro::kiro {

// The PA indicators flow on the regional FHIR server: two indicators of the
// year sent (QZ04046_Invio), one read back by its receipt, the doctor's
// indicators searched, and the two cancelled. Over TLS against the
// sandbox's FHIR server, or from the simulator's files.
void DemoFlussi(Plugin& plugin, sandbox::Ambiente& ambiente, refhost::Applicazione& host,
                Verifica& verifica, std::ostream& out);

}  // namespace qzkiro::kiro
