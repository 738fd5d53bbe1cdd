#include "services/lotti/RotteLotti.h"

namespace qzkiro::lotti {

void RegistraRotte(core::Rotte& rotte) {
  rotte.CercaLottiVaccino = op::CercaLottiVaccino;
}

}  // namespace qzkiro::lotti
