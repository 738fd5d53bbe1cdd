// The stand-in of the routines no module has registered (see Operazioni.h).

#include "core/Contesto.h"
#include "core/Operazioni.h"

namespace qzkiro::core {

void SegnaNonImplementato() {
  Ctx().last_error = kServizioNonImplementato;
}

}  // namespace qzkiro::core
