#include "services/mef/RotteMef.h"

namespace qzkiro::mef {

void RegistraRotte(core::Rotte& rotte) {
  rotte.OperazioneMEF = op::OperazioneMEF;
}

}  // namespace qzkiro::mef
