#include "flows/RotteFlussi.h"

#include "core/Contesto.h"
#include "flows/CarePlanACN.h"
#include "flows/IndicatoriPA.h"
#include "flows/InvioCarePlan.h"
#include "flows/VaccinazioneACN.h"

namespace qzkiro::flows {

namespace {

// The host's set-up chooses the extended vaccination variant with 2.
bool EstesoAttivo() {
  return core::Ctx().App().Setup("VaccinazioneEstesa").ToInteger() == 2;
}

}  // namespace

void RegistraRotte(core::Rotte& rotte) {
  rotte.IndicatoriPA = [](host::Collection& lista, host::Variant& dalla, host::Variant& alla,
                          bool elimina) {
    return InviaIndicatoriPA(lista, dalla, alla, elimina, false);
  };
  rotte.IndicatoriPAEsteso = [](host::Collection& lista, host::Variant& dalla, host::Variant& alla,
                                bool elimina) {
    return InviaIndicatoriPA(lista, dalla, alla, elimina, true);
  };
  rotte.RecuperaIndicatorePA = RecuperaIndicatorePA;
  rotte.InvioPazienteACN = [](host::Collection& lista, host::Variant& flusso, host::Variant& dalla,
                              host::Variant& alla, host::Variant& cancel, host::Variant& dalla_pc,
                              host::Variant& alla_pc, host::Variant& eliminate) {
    return InviaCarePlanACN(lista, flusso, dalla, alla, cancel, dalla_pc, alla_pc, eliminate, {});
  };
  rotte.InvioPazienteACNEsteso = [](host::Collection& lista, host::Variant& flusso,
                                    host::Variant& dalla, host::Variant& alla,
                                    host::Variant& cancel, host::Variant& dalla_pc,
                                    host::Variant& alla_pc, host::Variant& eliminate) {
    return InviaCarePlanACN(lista, flusso, dalla, alla, cancel, dalla_pc, alla_pc, eliminate,
                            {.esteso = true});
  };
  rotte.EliminaACN = [](host::Collection& lista, host::Variant& flusso, host::Variant& dalla,
                        host::Variant& alla, host::Variant& cancel, host::Variant& dalla_pc,
                        host::Variant& alla_pc, host::Variant& eliminate) {
    return InviaCarePlanACN(lista, flusso, dalla, alla, cancel, dalla_pc, alla_pc, eliminate,
                            {.esteso = EstesoAttivo(), .annullamento = true});
  };
  rotte.RecordsLocaliACN = [](host::Collection& records, host::Variant& cf, host::Variant& dalla,
                              host::Variant& alla, host::Variant&, host::Variant&) {
    return RecordsLocaliACN(records, cf, dalla, alla);
  };
  rotte.VaccinazioneACN = [](host::Variant&, host::Variant& workspace, host::Variant& storico,
                             host::Variant& ricevuta, bool finale) {
    return VaccinazioneACN(workspace, storico, ricevuta, finale);
  };
  rotte.RecuperaACN = RecuperaCarePlanACN;
  rotte.RicercaACN = [](host::Collection& flussi, host::Variant& cf, host::Variant& dalla,
                        host::Variant& alla) {
    return RicercaCarePlanACN(flussi, cf, dalla, alla);
  };
  rotte.RicercaIndicatoriPA = [](host::Collection& flussi, host::Variant& codice,
                                 host::Variant& dalla, host::Variant& alla) {
    return RicercaIndicatoriPA(flussi, codice, dalla, alla);
  };
}

}  // namespace qzkiro::flows
