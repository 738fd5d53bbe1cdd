#include "services/portale/RottePortale.h"

namespace qzkiro::portale {

void RegistraRotte(core::Rotte& rotte) {
  rotte.ApriPortaleOperatore = op::ApriPortaleOperatore;
}

}  // namespace qzkiro::portale
