#pragma once

#include "core/Contesto.h"

namespace qzkiro {

// The composition root: registers every module's routines into the
// context's routing table. Done once per context (a Plugin created later
// keeps what a test put there); the Plugin constructor calls it.
void Componi(core::Contesto& c);

}  // namespace qzkiro
