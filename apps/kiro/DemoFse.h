#pragma once

#include <iosfwd>

#include "Verifica.h"
#include "qzkiro/Plugin.h"
#include "refhost/Applicazione.h"
#include "sandbox/Ambiente.h"

namespace qzkiro::kiro {

// The regional health record through the add-on's entry points: a patient
// found in the index, the patient's documents listed, a signed CDA report and
// a PDF retrieved into the host, the consents in force, a red prescription
// linked to its process document. Over TLS against the sandbox, or from the
// simulator's files when the process is in simulator mode.
void DemoFse(Plugin& plugin, sandbox::Ambiente& ambiente, refhost::Applicazione& host,
             Verifica& verifica, std::ostream& out);

}  // namespace qzkiro::kiro
