#pragma once

#include <iosfwd>

#include "Verifica.h"
#include "qzkiro/Plugin.h"
#include "sandbox/Ambiente.h"

namespace qzkiro::kiro {

// The smaller national and regional services: the therapeutic plans of
// BIANCHI GIULIA listed and the most recent one viewed (QZ02031, Operazione
// 21), a search of vaccine lots by active principle (QZ02025) and the send of
// an IVAQ quality-index flow (QZ04043), each with what reached the host's
// objects. Over TLS against the sandbox, or from the simulator's files.
void DemoServizi(Plugin& plugin, sandbox::Ambiente& ambiente, bool simulatore, Verifica& verifica,
                 std::ostream& out);

}  // namespace qzkiro::kiro
