#pragma once

#include "core/Operazioni.h"

namespace qzkiro::op {
QZKIRO_OPERAZIONI_SERVIZI(QZKIRO_DICHIARA_OPERAZIONE)
}  // namespace qzkiro::op

namespace qzkiro::ermete {

// Puts the routines of the regional indications catalogue (CaricaIndicazioniErmete) into the
// routing table.
void RegistraRotte(core::Rotte& rotte);

}  // namespace qzkiro::ermete
