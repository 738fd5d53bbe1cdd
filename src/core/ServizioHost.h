#pragma once

#include "core/Contesto.h"

namespace qzkiro::core {

// Starts the host service component ("QZMwKiroIM.KIRO") the first time it is
// needed and keeps it for the process; in simulator mode nothing is created
// and the answer is true.
bool AvviaServizioHost(Contesto& c);
// Stops and releases the component, when there is one.
void FermaServizioHost(Contesto& c);

}  // namespace qzkiro::core
