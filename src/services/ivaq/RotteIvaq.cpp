#include "services/ivaq/RotteIvaq.h"

namespace qzkiro::ivaq {

void RegistraRotte(core::Rotte& rotte) {
  rotte.FlussoIVAQ = op::FlussoIVAQ;
}

}  // namespace qzkiro::ivaq
