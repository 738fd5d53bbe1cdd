#pragma once

#include "core/Operazioni.h"

namespace qzkiro::op {
QZKIRO_OPERAZIONI_RICETTE(QZKIRO_DICHIARA_OPERAZIONE)
}  // namespace qzkiro::op

namespace qzkiro::services {

// Puts the e-prescription routines into the routing table.
void RegistraRotte(core::Rotte& rotte);

}  // namespace qzkiro::services
