#pragma once

#include "core/Operazioni.h"

namespace qzkiro::op {
QZKIRO_OPERAZIONI_SERVIZI(QZKIRO_DICHIARA_OPERAZIONE)
}  // namespace qzkiro::op

namespace qzkiro::portale {

// Puts the routines of the regional operator portal (ApriPortaleOperatore) into the routing table.
void RegistraRotte(core::Rotte& rotte);

}  // namespace qzkiro::portale
