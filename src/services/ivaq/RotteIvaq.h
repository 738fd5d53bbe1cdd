#pragma once

#include "core/Operazioni.h"

namespace qzkiro::op {
QZKIRO_OPERAZIONI_SERVIZI(QZKIRO_DICHIARA_OPERAZIONE)
}  // namespace qzkiro::op

namespace qzkiro::ivaq {

// Puts the routines of the IVAQ quality-index flow (FlussoIVAQ) into the routing table.
void RegistraRotte(core::Rotte& rotte);

}  // namespace qzkiro::ivaq
