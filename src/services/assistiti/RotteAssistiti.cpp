#include "services/assistiti/RotteAssistiti.h"

namespace qzkiro::assistiti {

void RegistraRotte(core::Rotte& rotte) {
  rotte.ElencoAssistitiFHIR = op::ElencoAssistitiFHIR;
  rotte.AllineaPazientiFSE = op::AllineaPazientiFSE;
}

}  // namespace qzkiro::assistiti
