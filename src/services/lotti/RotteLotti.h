#pragma once

#include "core/Operazioni.h"

namespace qzkiro::op {
QZKIRO_OPERAZIONI_SERVIZI(QZKIRO_DICHIARA_OPERAZIONE)
}  // namespace qzkiro::op

namespace qzkiro::lotti {

// Puts the routines of the regional vaccine-lot search (CercaLottiVaccino) into the routing table.
void RegistraRotte(core::Rotte& rotte);

}  // namespace qzkiro::lotti
