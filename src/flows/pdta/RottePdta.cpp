#include "flows/pdta/RottePdta.h"

#include "flows/pdta/CaricaPDTA.h"
#include "flows/pdta/CaricaStili.h"
#include "flows/pdta/InvioPDTA.h"

namespace qzkiro::pdta {

void RegistraRotte(core::Rotte& rotte) {
  rotte.CaricaPDTA = CaricaPDTA;
  rotte.RefreshGridPDTA = RefreshGridPDTA;
  rotte.InvioPDTA = InvioPDTA;
  rotte.CaricaPDTAStili = CaricaPDTAStili;
  rotte.RefreshGridPDTAStili = RefreshGridPDTAStili;
  rotte.SalvaPDTAStili = SalvaPDTAStili;
}

}  // namespace qzkiro::pdta
