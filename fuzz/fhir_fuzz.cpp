// Reads any bytes as an answer of the regional FHIR server: a send's or a
// cancellation's outcome for both flows, a search's first id, a CarePlan or
// a Patient read back, indicators read back or searched, and a receipt.

#include <cstddef>
#include <cstdint>
#include <string>

#include "fhir/CarePlanLetto.h"
#include "fhir/EsitoFhir.h"
#include "fhir/IndicatoreLetto.h"
#include "fhir/RicercaFhir.h"
#include "fhir/Ricevuta.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  namespace f = qzkiro::fhir;
  const std::string testo(reinterpret_cast<const char*>(data), size);
  for (auto flusso : {f::FlussoFhir::CarePlan, f::FlussoFhir::Indicatori}) {
    f::LeggiEsitoFlusso(testo, flusso, false);
    f::LeggiEsitoFlusso(testo, flusso, true);
    f::ErroriOperationOutcome(testo, flusso);
  }
  f::PrimoIdRisorsa(testo, "Patient");
  f::LeggiCarePlan(testo);
  f::LeggiRicercaCarePlan(testo);
  f::LeggiPaziente(testo);
  f::LeggiIndicatore(testo);
  f::LeggiRicercaIndicatori(testo);
  f::LeggiRicevuta(testo, "CarePlan");
  f::LeggiPosizione(testo);
  return 0;
}
