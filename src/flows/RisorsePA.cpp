#include "flows/RisorsePA.h"

#include "core/Contesto.h"
#include "fhir/CodiciFhir.h"
#include "flows/CercaRisorsa.h"

namespace qzkiro::flows {

namespace {

bool Conferma(const char* tipo, std::string_view sistema, const std::string& valore,
              const char* chiave, std::string& id, std::string& errore) {
  if (!CercaRisorsa(servizio::kRisorsaPA, fhir::FlussoFhir::Indicatori, tipo, sistema, valore, id,
                    errore)) {
    return false;
  }
  auto& items = core::Ctx().App().Utente().Items();
  if (items.GetItem(chiave) != id) items.SetItem(chiave, id);
  return true;
}

}  // namespace

bool DaiIDRisorsaPA(const std::string& cf_medico, const std::string& azienda, fhir::IdRisorse& id,
                    std::string& errore) {
  return Conferma("Practitioner", fhir::kOidCodiceFiscale, cf_medico, kCachePractitionerPA,
                  id.Practitioner, errore) &&
         Conferma("Organization", fhir::kOidAzienda, azienda, kCacheOrganizationPA, id.Organization,
                  errore);
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
