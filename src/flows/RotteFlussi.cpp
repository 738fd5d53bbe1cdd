#include "flows/RotteFlussi.h"

#include "flows/CarePlanACN.h"
#include "flows/IndicatoriPA.h"

namespace qzkiro::flows {

void RegistraRotte(core::Rotte& rotte) {
  rotte.IndicatoriPA = [](host::Collection& lista, host::Variant& dalla, host::Variant& alla,
                          bool elimina) {
    return InviaIndicatoriPA(lista, dalla, alla, elimina, false);
  };
  rotte.IndicatoriPAEsteso = [](host::Collection& lista, host::Variant& dalla,
                                host::Variant& alla, bool elimina) {
    return InviaIndicatoriPA(lista, dalla, alla, elimina, true);
  };
  rotte.RecuperaIndicatorePA = RecuperaIndicatorePA;
  rotte.RecuperaACN = RecuperaCarePlanACN;
  rotte.RicercaACN = [](host::Collection& flussi, host::Variant& cf, host::Variant& dalla,
                        host::Variant& alla) { return RicercaCarePlanACN(flussi, cf, dalla, alla); };
  rotte.RicercaIndicatoriPA = [](host::Collection& flussi, host::Variant& codice,
                                 host::Variant& dalla, host::Variant& alla) {
    return RicercaIndicatoriPA(flussi, codice, dalla, alla);
  };
}

}  // namespace qzkiro::flows
