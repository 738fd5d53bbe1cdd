#pragma once

#include <iosfwd>

#include "Verifica.h"
#include "qzkiro/Plugin.h"

namespace qzkiro::kiro {

// The regional HL7 services through the add-on's entry points: the doctor's
// notifications, one patient's reports and admissions, and the admission a
// discharge notification points to; what reached the host's result container
// is printed. The host's service component must already reach the gateway,
// unless the process is in simulator mode (answers from the add-on's
// Simulatore folder).
void DemoRegione(Plugin& plugin, Verifica& verifica, std::ostream& out);

}  // namespace qzkiro::kiro
