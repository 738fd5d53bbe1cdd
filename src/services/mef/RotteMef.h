#pragma once

#include "core/Operazioni.h"

namespace qzkiro::op {
QZKIRO_OPERAZIONI_RICETTE(QZKIRO_DICHIARA_OPERAZIONE)
}  // namespace qzkiro::op

namespace qzkiro::mef {

// Puts the routines of the therapeutic-plan services (OperazioneMEF) into the routing table.
void RegistraRotte(core::Rotte& rotte);

}  // namespace qzkiro::mef
