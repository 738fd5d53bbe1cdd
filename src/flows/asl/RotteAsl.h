#pragma once

#include "core/Operazioni.h"

namespace qzkiro::op {
QZKIRO_OPERAZIONI_FLUSSI(QZKIRO_DICHIARA_OPERAZIONE)
}  // namespace qzkiro::op

namespace qzkiro::asl {

// Puts the routines of the local health units' contact flow, PDTA upload, transition check and blood-sample request into the routing table.
void RegistraRotte(core::Rotte& rotte);

}  // namespace qzkiro::asl
