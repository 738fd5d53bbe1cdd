#pragma once

#include "core/Operazioni.h"

namespace qzkiro::op {
QZKIRO_OPERAZIONI_SERVIZI(QZKIRO_DICHIARA_OPERAZIONE)
}  // namespace qzkiro::op

namespace qzkiro::assistiti {

// Puts the routines of the doctor's patient list of the regional FHIR server (AllineaPazientiFSE,
// ElencoAssistitiFHIR) into the routing table.
void RegistraRotte(core::Rotte& rotte);

}  // namespace qzkiro::assistiti
