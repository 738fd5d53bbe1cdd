#include "flows/RisorsePA.h"

#include "core/Contesto.h"
#include "fhir/CodiciFhir.h"
#include "fhir/RicercaFhir.h"
#include "flows/ClienteFhir.h"

namespace qzkiro::flows {

namespace {

bool Conferma(const char* tipo, std::string_view sistema, const std::string& valore,
              const char* chiave, std::string& id, std::string& errore) {
  const RispostaFhir r = ChiamaFhir(servizio::kRisorsaPA, "GET",
                                    std::string("/") + tipo + "?" +
                                        fhir::QueryIdentificativo(sistema, valore));
  if (!r.ricevuta) {
    errore = r.errore;
    return false;
  }
  if (const std::string rifiuto = fhir::ErroriOperationOutcome(r.corpo, fhir::FlussoFhir::Indicatori);
      !rifiuto.empty()) {
    errore = rifiuto;
    return false;
  }
  id = fhir::PrimoIdRisorsa(r.corpo, tipo);
  auto& items = core::Ctx().App().Utente().Items();
  if (items.GetItem(chiave) != id) items.SetItem(chiave, id);
  return true;
}

}  // namespace

bool DaiIDRisorsaPA(const std::string& cf_medico, const std::string& azienda,
                    fhir::IdRisorse& id, std::string& errore) {
  return Conferma("Practitioner", fhir::kOidCodiceFiscale, cf_medico, kCachePractitionerPA,
                  id.Practitioner, errore) &&
         Conferma("Organization", fhir::kOidAzienda, azienda, kCacheOrganizationPA,
                  id.Organization, errore);
}

void SalvaIDRisorsePA(const std::vector<fhir::RispostaVoce>& voci) {
  auto& items = core::Ctx().App().Utente().Items();
  for (const fhir::RispostaVoce& v : voci) {
    if (v.Id.empty() || !v.Accettata) continue;
    if (v.Tipo == "Practitioner") items.SetItem(kCachePractitionerPA, v.Id);
    if (v.Tipo == "Organization") items.SetItem(kCacheOrganizationPA, v.Id);
  }
}

}  // namespace qzkiro::flows
