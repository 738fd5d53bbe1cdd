#pragma once

#include "core/Operazioni.h"

namespace qzkiro::flows {

// Fills the slots of the FHIR flows this module implements.
void RegistraRotte(core::Rotte& rotte);

}  // namespace qzkiro::flows
