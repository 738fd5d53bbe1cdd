#include "flows/RisorseACN.h"

#include <chrono>

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

// The doctor's and the unit's resources are the same for every patient of a
// month's batch: an id the server confirmed is trusted for five minutes
// before it is searched again, so a batch asks for them once, not once per
// patient. The key names the server, so another server confirms its own; an
// id the server lacks is searched again every time.
bool CercaStabile(std::string_view tipo, std::string_view sistema, const std::string& valore,
                  std::string& id, std::string& errore) {
  constexpr std::chrono::minutes kValidita{5};
  auto& c = core::Ctx();
  const auto endpoint = c.settings.endpoint.find("acn");
  const std::string chiave =
      (endpoint == c.settings.endpoint.end() ? std::string() : endpoint->second) + "|" +
      std::string(tipo) + "|" + std::string(sistema) + "|" + valore;
  const auto adesso = std::chrono::steady_clock::now();
  auto& confermate = c.risorse_confermate;
  if (auto it = confermate.find(chiave);
      it != confermate.end() && adesso - it->second.second < kValidita) {
    id = it->second.first;
    return true;
  }
  if (!Cerca(tipo, sistema, valore, id, errore)) return false;
  if (id.empty()) {
    confermate.erase(chiave);
  } else {
    confermate[chiave] = {id, adesso};
  }
  return true;
}

void Ricorda(host::IItems& items, const std::string& chiave, const std::string& valore) {
  if (items.GetItem(chiave) != valore) items.SetItem(chiave, valore);
}

}  // namespace

bool DaiIDRisorseACN(host::IPaziente& paziente, const std::string& mpi, bool esteso,
                     fhir::IdRisorse& id, std::string& errore, const char* cache_organizzazione) {
  auto& utente = core::Ctx().App().Utente();
  const std::string azienda = utente.CodiceRegioneASL();
  const bool cercati =
      Cerca("Patient", esteso ? fhir::kOidMpi : fhir::kOidCodiceFiscale,
            esteso ? mpi : paziente.CodiceFiscale(), id.Patient, errore) &&
      CercaStabile("Practitioner", fhir::kOidCodiceFiscale, utente.CodiceFiscale(), id.Practitioner,
                   errore) &&
      CercaStabile("Organization", fhir::kOidAzienda, azienda, id.Organization, errore);
  if (!cercati) return false;
  auto& items = paziente.Items();
  const std::string voce = id.Patient.empty() ? "" : std::string(kCachePatient) + ":" + id.Patient;
  if (items.GetItem(kCachePatient) != voce) {
    items.SetItem(kCachePatient, voce);
    items.Salva();
  }
  Ricorda(utente.Items(), kCachePractitionerACN, id.Practitioner);
  Ricorda(utente.Items(), cache_organizzazione + azienda, id.Organization);
  return true;
}

}  // namespace qzkiro::flows
