#pragma once

#include "core/Operazioni.h"

namespace qzkiro::op {
QZKIRO_OPERAZIONI_NET(QZKIRO_DICHIARA_OPERAZIONE)
}  // namespace qzkiro::op

namespace qzkiro::net {

// Puts the identity routines (second factor, the assertion service) into the
// routing table.
void RegistraRotte(core::Rotte& rotte);

}  // namespace qzkiro::net
