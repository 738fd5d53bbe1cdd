#include "flows/IndicatoriPA.h"

#include <memory>
#include <vector>

#include "core/Contesto.h"
#include "fhir/BundleIndicatori.h"
#include "fhir/EsitoFhir.h"
#include "fhir/IndicatoreLetto.h"
#include "fhir/RicercaFhir.h"
#include "fhir/Ricevuta.h"
#include "flows/ClienteFhir.h"
#include "flows/DateFlusso.h"
#include "flows/DatiHost.h"
#include "flows/RisorsePA.h"
#include "qzkiro/host/Flussi.h"

namespace qzkiro::flows {

namespace {

using host::IFlusso;
using host::Variant;
using FlussoPtr = std::shared_ptr<IFlusso>;

std::string Testo(host::IProprieta& p, const char* nome) {
  return p.Membro(nome).ToText();
}

// The flows of the host's list, each with its indicator; false when an item
// is not a PA flow with an indicator.
bool FlussiDellaLista(host::Collection& lista, std::vector<FlussoPtr>& flussi) {
  for (std::size_t i = 1; i <= lista.Count(); ++i) {
    auto flusso = lista.Item(i).As<IFlusso>();
    if (!flusso || flusso->DatiRecuperati().Count() == 0 ||
        !flusso->DatiRecuperati().Item(1).As<host::IItemFlussoPA>()) {
      return false;
    }
    flussi.push_back(std::move(flusso));
  }
  return true;
}

fhir::IndicatorePA Indicatore(host::IItemFlussoPA& item, std::string guid) {
  fhir::IndicatorePA i;
  i.Guid = std::move(guid);
  i.Obbligatorio = Testo(item, "Gruppo") == fhir::kGruppoObbligatori;
  i.Categoria = {Testo(item, "CatSystem"), Testo(item, "CatCode"), Testo(item, "CatDisplay")};
  i.Codice = {Testo(item, "CodSystem"), Testo(item, "CodCode"), Testo(item, "CodDisplay")};
  i.Numeratore = Testo(item, "Numerator");
  i.Denominatore = Testo(item, "Denominator");
  i.Rapporto = !i.Numeratore.empty() && !i.Denominatore.empty();
  i.Valore = Testo(item, "Value");
  i.Unita = Testo(item, "Unit");
  i.Metodo = Testo(item, "Method");
  return i;
}

void Rifiuta(const std::vector<FlussoPtr>& flussi, int stato, const std::string& errori) {
  for (const FlussoPtr& f : flussi) {
    f->Imposta("Stato", Variant(stato));
    f->Imposta("Errori", Variant(errori));
    f->Imposta("RicevutaTemp", Variant(""));
    f->Salva();
  }
}

// The accepted answer: the Observation entries in order, one per flow.
void Accetta(const std::vector<FlussoPtr>& flussi, const fhir::EsitoFlusso& esito,
             const std::string& risposta, const std::string& adesso) {
  std::size_t n = 0;
  for (const fhir::RispostaVoce& v : esito.Voci) {
    if (v.Tipo != "Observation" || n >= flussi.size()) continue;
    IFlusso& f = *flussi[n++];
    f.Imposta("Stato", Variant(esito.Stato));
    f.Imposta("Errori", Variant(esito.Errori));
    f.Imposta("Ricevuta", Variant(fhir::Ricevuta("Observation", v.Id)));
    f.Imposta("RicevutaTemp", Variant(""));
    f.Imposta("IDRichiesta", Variant(v.Id));
    f.Imposta("DataInvio", Variant(adesso));
    f.Imposta("DataRicezione", Variant(adesso));
    f.Imposta("DataElaborazione", Variant(v.UltimaModifica));
    f.Imposta("ServerStatus", Variant(esito.ServerStatus));
    f.Imposta("ServerComment", Variant(esito.ServerComment));
    f.Imposta("MemoRisposta", Variant(risposta));
    f.Salva();
  }
}

}  // namespace

bool InviaIndicatoriPA(host::Collection& lista, const Variant& dalla_data, const Variant& alla_data,
                       bool elimina, bool esteso) {
  auto& c = core::Ctx();
  std::vector<FlussoPtr> flussi;
  if (!FlussiDellaLista(lista, flussi)) {
    c.last_error = "Elenco degli indicatori non valido";
    return false;
  }
  if (flussi.empty()) {
    c.last_error = "Nessun dato da inviare";
    return false;
  }
  const std::string fine = DataCompatta(alla_data.ToText());
  if (fine.empty() || DataCompatta(dalla_data.ToText()).empty()) {
    c.last_error = "Periodo non valido";
    return false;
  }
  auto& utente = c.App().Utente();
  auto& fw = c.App().Framework();
  fhir::FlussoIndicatori f;
  f.Esteso = esteso;
  f.Annullamento = elimina;
  f.Medico = MedicoDelFlusso(utente);
  f.CodiceAzienda = utente.CodiceRegioneASL();
  f.FinePeriodo = fine;
  f.Intestazione.MarcaTemporaleUtc = c.orologio->AdessoUTC();
  std::string errore;
  if (!DaiIDRisorsaPA(f.Medico.CodiceFiscale, f.CodiceAzienda, f.Id, errore)) {
    Rifiuta(flussi, 3, errore);
    c.last_error = errore;
    return false;
  }
  f.Guid.Practitioner = fw.GetSmartGUID();
  f.Guid.Organization = fw.GetSmartGUID();
  for (const FlussoPtr& flusso : flussi) {
    if (!Testo(*flusso, "Ricevuta").empty()) f.Intestazione.Aggiornamento = true;
    auto item = flusso->DatiRecuperati().Item(1).As<host::IItemFlussoPA>();
    f.Indicatori.push_back(Indicatore(*item, fw.GetSmartGUID()));
    flusso->Imposta("RicevutaTemp", Variant("urn:uuid:" + f.Indicatori.back().Guid));
  }
  const RispostaFhir r =
      ChiamaFhir(servizio::kInvioIndicatoriPA, "POST", "", fhir::BundleIndicatori(f).XML());
  if (!r.ricevuta) {
    Rifiuta(flussi, 3, r.errore);
    c.last_error = r.errore;
    return false;
  }
  const fhir::EsitoFlusso esito =
      fhir::LeggiEsitoFlusso(r.corpo, fhir::FlussoFhir::Indicatori, elimina);
  if (esito.Stato != 1 && esito.Stato != 5) {
    Rifiuta(flussi, esito.Stato, esito.Errori);
    c.last_error = esito.Errori;
    return false;
  }
  SalvaIDRisorsePA(esito.Voci);
  Accetta(flussi, esito, r.corpo, c.orologio->Adesso().Formato("yyyymmddhhnnss"));
  return true;
}

}  // namespace qzkiro::flows
