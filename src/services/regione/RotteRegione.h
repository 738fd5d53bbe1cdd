#pragma once

#include "core/Operazioni.h"

namespace qzkiro::op {
QZKIRO_OPERAZIONI_REGIONE(QZKIRO_DICHIARA_OPERAZIONE)
}  // namespace qzkiro::op

namespace qzkiro::regione {

// Puts the regional HL7 service routines into the routing table.
void RegistraRotte(core::Rotte& rotte);

}  // namespace qzkiro::regione
