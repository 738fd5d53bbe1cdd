// Reading the PA indicators back from the regional FHIR server: one
// Observation by a flow's receipt, or the user's Observations by search.

#include <memory>

#include "core/Contesto.h"
#include "fhir/EsitoFhir.h"
#include "fhir/IndicatoreLetto.h"
#include "fhir/RicercaFhir.h"
#include "fhir/Ricevuta.h"
#include "flows/ClienteFhir.h"
#include "flows/DateFlusso.h"
#include "flows/IndicatoriPA.h"
#include "qzkiro/host/Flussi.h"

namespace qzkiro::flows {

namespace {

using host::Variant;

// A new PA flow read back (Stato 4) with its indicator item.
std::shared_ptr<host::IFlusso> FlussoLetto(const fhir::IndicatoreLetto& i) {
  auto& fw = core::Ctx().App().Framework();
  auto flusso = fw.NewFlussoPA();
  auto item = fw.NewItemFlussoPA();
  const std::pair<const char*, std::string> campi[] = {{"DataAggiornamento", i.DataAggiornamento},
                                                       {"Gruppo", i.Gruppo},
                                                       {"CatSystem", i.CatSystem},
                                                       {"CatCode", i.CatCode},
                                                       {"CatDisplay", i.CatDisplay},
                                                       {"CodSystem", i.CodSystem},
                                                       {"CodCode", i.CodCode},
                                                       {"CodDisplay", i.CodDisplay},
                                                       {"PeriodStart", i.PeriodStart},
                                                       {"PeriodEnd", i.PeriodEnd},
                                                       {"Method", i.Method},
                                                       {"Value", i.Value},
                                                       {"Unit", i.Unit},
                                                       {"Status", i.Status},
                                                       {"comment", i.Comment}};
  for (const auto& [nome, valore] : campi) item->Imposta(nome, Variant(valore));
  item->Imposta("Numerator", Variant(i.Numerator));
  item->Imposta("Denominator", Variant(i.Denominator));
  item->Imposta("Elaborato", Variant(true));
  flusso->Imposta("Stato", Variant(4));
  flusso->Imposta("Ricevuta", Variant(i.Ricevuta));
  flusso->Imposta("IDRichiesta", Variant(i.Id));
  flusso->Imposta("DataInvio", Variant(i.DataAggiornamento));
  flusso->DatiRecuperati().Add(Variant(item));
  return flusso;
}

bool Fallisce(const std::string& messaggio) {
  core::Ctx().last_error = messaggio;
  return false;
}

}  // namespace

bool RecuperaIndicatorePA(Variant& flusso, Variant& recuperato) {
  auto origine = flusso.As<host::IFlusso>();
  if (!origine) return Fallisce("Flusso non valido");
  const fhir::RicevutaLetta ricevuta =
      fhir::LeggiRicevuta(origine->Membro("Ricevuta").ToText(), "Observation");
  if (!ricevuta.Valida()) return Fallisce(ricevuta.Errore);
  const RispostaFhir r =
      ChiamaFhir(servizio::kRecuperoIndicatoriPA, "GET", "/Observation/" + ricevuta.Id);
  if (!r.ricevuta) return Fallisce(r.errore);
  const fhir::IndicatoriLetti letti = fhir::LeggiIndicatore(r.corpo);
  if (!letti.Errore.empty() || letti.Indicatori.empty()) {
    return Fallisce(letti.Errore.empty() ? std::string(fhir::kIndicatoriNonTrovati) : letti.Errore);
  }
  auto nuovo = FlussoLetto(letti.Indicatori.front());
  for (const char* campo :
       {"Errori", "DataCreazione", "DataInvio", "DataRicezione", "DataElaborazione"}) {
    nuovo->Imposta(campo, origine->Membro(campo));
  }
  recuperato = Variant(nuovo);
  return true;
}

bool RicercaIndicatoriPA(host::Collection& flussi, const Variant& codice, const Variant& dalla_data,
                         const Variant& alla_data) {
  auto& c = core::Ctx();
  const std::string query =
      fhir::QueryRicercaIndicatori(c.App().Utente().CodiceFiscale(), codice.ToText(),
                                   DataIso(dalla_data.ToText()), DataIso(alla_data.ToText()));
  const RispostaFhir r = ChiamaFhir(servizio::kRicercaFlussoPA, "GET", query);
  if (!r.ricevuta) return Fallisce(r.errore);
  const fhir::IndicatoriLetti letti = fhir::LeggiRicercaIndicatori(r.corpo);
  if (!letti.Errore.empty()) return Fallisce(letti.Errore);
  for (const fhir::IndicatoreLetto& i : letti.Indicatori) flussi.Add(Variant(FlussoLetto(i)));
  return true;
}

}  // namespace qzkiro::flows
