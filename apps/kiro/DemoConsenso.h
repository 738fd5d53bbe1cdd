#pragma once

#include <iosfwd>

#include "Verifica.h"
#include "qzkiro/Plugin.h"
#include "refhost/Applicazione.h"
#include "sandbox/Ambiente.h"

namespace qzkiro::kiro {

// Consents and the patient summary on the regional health record, through
// the consent form (QZ01015 without Check): a patient's consent to feeding
// the record withdrawn and read back as the one in force; a minor's three
// consents given with a parent's data, read back, and her form shown again
// with the summary; then the silent consent check (QZ01015) and the GP's
// patient summary published in place of the one in force (QZ04020). Over TLS
// against the sandbox's repository, or from the simulator's files (the
// withdrawal only: the simulator's registry does not change).
void DemoConsenso(Plugin& plugin, sandbox::Ambiente& ambiente, refhost::Applicazione& host,
                  Verifica& verifica, std::ostream& out);

}  // namespace qzkiro::kiro
