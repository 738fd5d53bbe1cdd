#include "services/ermete/RotteErmete.h"

namespace qzkiro::ermete {

void RegistraRotte(core::Rotte& rotte) {
  rotte.CaricaIndicazioniErmete = op::CaricaIndicazioniErmete;
}

}  // namespace qzkiro::ermete
