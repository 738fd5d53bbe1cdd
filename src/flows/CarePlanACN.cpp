#include "flows/CarePlanACN.h"

#include <map>
#include <memory>

#include "core/Contesto.h"
#include "fhir/CarePlanLetto.h"
#include "fhir/RicercaFhir.h"
#include "fhir/Ricevuta.h"
#include "flows/ClienteFhir.h"
#include "flows/DateFlusso.h"
#include "flows/DatiHost.h"
#include "flows/RisorseACN.h"
#include "qzkiro/host/Flussi.h"

namespace qzkiro::flows {

namespace {

using host::Variant;

bool Fallisce(const std::string& messaggio) {
  core::Ctx().last_error = messaggio;
  return false;
}

std::shared_ptr<host::IFlusso> FlussoLetto(const fhir::CarePlanLetto& cp) {
  auto flusso = core::Ctx().App().Framework().NewFlusso();
  flusso->Imposta("Stato", Variant(4));
  flusso->Imposta("Ricevuta", Variant(cp.Ricevuta));
  flusso->Imposta("IDRichiesta", Variant(cp.Id));
  flusso->Imposta("DataInvio", Variant(cp.UltimoAggiornamento));
  flusso->Imposta("ServerStatus", Variant(cp.Stato));
  flusso->Imposta("ServerComment", Variant(cp.Commento));
  return flusso;
}

// The fiscal code of the local patient a server Patient id stands for ("" when
// the host has none), fetched and cached once per id within a search.
class Anagrafiche {
 public:
  std::string Di(const std::string& id) {
    if (id.empty()) return kSconosciuto;
    auto [it, nuovo] = noti_.try_emplace(id, kSconosciuto);
    if (nuovo) it->second = Cerca(id);
    return it->second;
  }

 private:
  static std::string Cerca(const std::string& id) {
    const RispostaFhir r = ChiamaFhir(servizio::kRisorsaPatient, "GET", "/Patient/" + id);
    const fhir::PazienteLetto p = r.ricevuta ? fhir::LeggiPaziente(r.corpo) : fhir::PazienteLetto{};
    if (p.CodiceFiscale.empty()) return kSconosciuto;
    auto paziente = PazienteDaCodice(p.CodiceFiscale);
    if (!paziente) return kSconosciuto;
    const std::string voce = std::string(kCachePatient) + ":" + id;
    auto& items = paziente->Items();
    if (items.GetItem(kCachePatient) != voce) {
      items.SetItem(kCachePatient, voce);
      items.Salva();
    }
    return p.CodiceFiscale;
  }

  std::map<std::string, std::string> noti_;
};

}  // namespace

bool RecuperaCarePlanACN(Variant& flusso, Variant& recuperato) {
  auto origine = flusso.As<host::IFlusso>();
  if (!origine) return Fallisce("Flusso non valido");
  const fhir::RicevutaLetta ricevuta =
      fhir::LeggiRicevuta(origine->Membro("Ricevuta").ToText(), "CarePlan");
  if (!ricevuta.Valida()) return Fallisce(ricevuta.Errore);
  const RispostaFhir r = ChiamaFhir(servizio::kRecuperoCarePlan, "GET", "/CarePlan/" + ricevuta.Id);
  if (!r.ricevuta) return Fallisce(r.errore);
  const fhir::CarePlanRicevuti letti = fhir::LeggiCarePlan(r.corpo);
  if (!letti.Errore.empty() || letti.CarePlan.empty()) {
    return Fallisce(letti.Errore.empty() ? std::string(fhir::kCarePlanNonTrovato) : letti.Errore);
  }
  auto nuovo = FlussoLetto(letti.CarePlan.front());
  for (const char* campo : {"Errori", "DataCreazione", "DataInvio", "DataRicezione",
                            "DataElaborazione", "IDRichiesta", "anagrafica"}) {
    nuovo->Imposta(campo, origine->Membro(campo));
  }
  recuperato = Variant(nuovo);
  return true;
}

bool RicercaCarePlanACN(host::Collection& flussi, const Variant& cf_paziente,
                        const Variant& dalla_data, const Variant& alla_data) {
  auto& c = core::Ctx();
  const std::string query =
      fhir::QueryRicercaCarePlan(c.App().Utente().CodiceFiscale(), cf_paziente.ToText(),
                                 DataIso(dalla_data.ToText()), DataIso(alla_data.ToText()));
  const RispostaFhir r = ChiamaFhir(servizio::kRicercaCarePlan, "GET", "/" + query);
  if (!r.ricevuta) return Fallisce(r.errore);
  const fhir::CarePlanRicevuti letti = fhir::LeggiRicercaCarePlan(r.corpo);
  if (!letti.Errore.empty()) return Fallisce(letti.Errore);
  Anagrafiche anagrafiche;
  for (const fhir::CarePlanLetto& cp : letti.CarePlan) {
    auto flusso = FlussoLetto(cp);
    flusso->Imposta("anagrafica", Variant(anagrafiche.Di(cp.IdPaziente)));
    flussi.Add(Variant(flusso));
  }
  return true;
}

}  // namespace qzkiro::flows
