#include "flows/CercaRisorsa.h"

#include "fhir/RicercaFhir.h"

namespace qzkiro::flows {

bool CercaRisorsa(const ServizioFhir& servizio, fhir::FlussoFhir flusso, std::string_view tipo,
                  std::string_view sistema, const std::string& valore, std::string& id,
                  std::string& errore) {
  const RispostaFhir r = ChiamaFhir(
      servizio, "GET", "/" + std::string(tipo) + "?" + fhir::QueryIdentificativo(sistema, valore));
  if (!r.ricevuta) {
    errore = r.errore;
    return false;
  }
  if (std::string rifiuto = fhir::ErroriOperationOutcome(r.corpo, flusso); !rifiuto.empty()) {
    errore = std::move(rifiuto);
    return false;
  }
  id = fhir::PrimoIdRisorsa(r.corpo, tipo);
  return true;
}

}  // namespace qzkiro::flows
