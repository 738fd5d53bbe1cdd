#include "plugin/Composizione.h"

#include "flows/RotteFlussi.h"
#include "flows/asl/RotteAsl.h"
#include "flows/pdta/RottePdta.h"
#include "net/RotteNet.h"
#include "services/assistiti/RotteAssistiti.h"
#include "services/ermete/RotteErmete.h"
#include "services/fse/RotteFse.h"
#include "services/ivaq/RotteIvaq.h"
#include "services/lotti/RotteLotti.h"
#include "services/mef/RotteMef.h"
#include "services/portale/RottePortale.h"
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
  mef::RegistraRotte(c.rotte);
  ivaq::RegistraRotte(c.rotte);
  lotti::RegistraRotte(c.rotte);
  assistiti::RegistraRotte(c.rotte);
  ermete::RegistraRotte(c.rotte);
  portale::RegistraRotte(c.rotte);
  asl::RegistraRotte(c.rotte);
  pdta::RegistraRotte(c.rotte);
  c.composto = true;
}

}  // namespace qzkiro
