#include "services/regione/RotteRegione.h"

namespace qzkiro::regione {

void RegistraRotte(core::Rotte& rotte) {
  rotte.InterrogaAnagrafica = op::InterrogaAnagrafica;
  rotte.InterrogaAnagraficaHL7 = op::InterrogaAnagraficaHL7;
  rotte.ElencoAssistitiHL7 = op::ElencoAssistitiHL7;
  rotte.RefertiSARR = op::RefertiSARR;
  rotte.RefertiSARRePS = op::RefertiSARRePS;
  rotte.RicoveriSARIR = op::RicoveriSARIR;
  rotte.InviaSAASN = op::InviaSAASN;
  rotte.ApriNotifica = op::ApriNotifica;
}

}  // namespace qzkiro::regione
