#pragma once

#include <filesystem>
#include <iosfwd>

#include "Verifica.h"
#include "qzkiro/Plugin.h"
#include "refhost/Applicazione.h"
#include "sandbox/Ambiente.h"

namespace qzkiro::kiro {

// The doctor's patient registry brought in line with the regional FHIR
// server's list (QZ02030): what reached the host, new patients and
// revocations. Then the indications catalogue imported from an "IP_KR.csv"
// put in the add-on's folder, into the host database the PG* variables name
// (without one the import's own message is the result). Over TLS against the
// sandbox, or from the simulator's files.
void DemoAssistiti(Plugin& plugin, sandbox::Ambiente& ambiente, refhost::Applicazione& host,
                   bool simulatore, Verifica& verifica, std::ostream& out);

}  // namespace qzkiro::kiro
