#pragma once

#include <iosfwd>

#include "Verifica.h"
#include "qzkiro/Plugin.h"
#include "refhost/Applicazione.h"
#include "sandbox/Ambiente.h"

namespace qzkiro::kiro {

// The local health unit's contact flow of November (QZ04022): the grid's
// accesses, PPIP services and a vaccination of two patients written to
// "ACN.xml" and uploaded to the unit's flow service with the demo's
// credentials; then the PDTA indicators as text (QZ04048). Over TLS against
// the sandbox, or from the simulator's files.
void DemoContatti(Plugin& plugin, sandbox::Ambiente& ambiente, refhost::Applicazione& host,
                  bool simulatore, Verifica& verifica, std::ostream& out);

}  // namespace qzkiro::kiro
