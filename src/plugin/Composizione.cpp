#include "plugin/Composizione.h"

#include "flows/RotteFlussi.h"
#include "net/RotteNet.h"
#include "services/fse/RotteFse.h"
#include "services/regione/RotteRegione.h"
#include "services/ricette/RotteRicette.h"

namespace qzkiro {

void Componi(core::Contesto& c) {
  if (c.composto) return;
  net::RegistraRotte(c.rotte);
  services::RegistraRotte(c.rotte);
  regione::RegistraRotte(c.rotte);
  fse::RegistraRotte(c.rotte);
  flows::RegistraRotte(c.rotte);
  c.composto = true;
}

}  // namespace qzkiro
