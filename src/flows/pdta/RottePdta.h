#pragma once

#include "core/Operazioni.h"

namespace qzkiro::pdta {

// Puts the routines of the PDTA indicator files of the local health units
// into the routing table: QZ04048_Carica, _RefreshGrid, _Invio (unit
// 050505) and QZ04059_Carica, _RefreshGrid, _Salva (unit 050507).
void RegistraRotte(core::Rotte& rotte);

}  // namespace qzkiro::pdta
