#include "flows/RisorseACN.h"

#include "core/Contesto.h"
#include "fhir/CodiciFhir.h"
#include "flows/CercaRisorsa.h"

namespace qzkiro::flows {

namespace {

bool Cerca(std::string_view tipo, std::string_view sistema, const std::string& valore,
           std::string& id, std::string& errore) {
  return CercaRisorsa(servizio::kRisorsaACN, fhir::FlussoFhir::CarePlan, tipo, sistema, valore, id,
                      errore);
}

void Ricorda(host::IItems& items, const std::string& chiave, const std::string& valore) {
  if (items.GetItem(chiave) != valore) items.SetItem(chiave, valore);
}

}  // namespace

bool DaiIDRisorseACN(host::IPaziente& paziente, const std::string& mpi, bool esteso,
                     fhir::IdRisorse& id, std::string& errore) {
  auto& utente = core::Ctx().App().Utente();
  const std::string azienda = utente.CodiceRegioneASL();
  const bool cercati = Cerca("Patient", esteso ? fhir::kOidMpi : fhir::kOidCodiceFiscale,
                             esteso ? mpi : paziente.CodiceFiscale(), id.Patient, errore) &&
                       Cerca("Practitioner", fhir::kOidCodiceFiscale, utente.CodiceFiscale(),
                             id.Practitioner, errore) &&
                       Cerca("Organization", fhir::kOidAzienda, azienda, id.Organization, errore);
  if (!cercati) return false;
  auto& items = paziente.Items();
  const std::string voce = id.Patient.empty() ? "" : std::string(kCachePatient) + ":" + id.Patient;
  if (items.GetItem(kCachePatient) != voce) {
    items.SetItem(kCachePatient, voce);
    items.Salva();
  }
  Ricorda(utente.Items(), kCachePractitionerACN, id.Practitioner);
  Ricorda(utente.Items(), kCacheOrganizationACN + azienda, id.Organization);
  return true;
}

}  // namespace qzkiro::flows
