#include "flows/VociFlusso.h"

#include <map>

#include "core/Contesto.h"
#include "fhir/MisuraDiabete.h"

namespace qzkiro::flows {

namespace {

std::string Testo(host::IProprieta& p, const char* nome) {
  return p.Membro(nome).ToText();
}

int Intero(const host::Variant& v) {
  return static_cast<int>(v.ToInteger());
}

}  // namespace

fhir::VoceLocale VoceDaItem(host::IItemFlusso& item) {
  fhir::VoceLocale v;
  v.Tipo = Intero(item.Membro("Tipo"));
  v.Data = Testo(item, "Data");
  v.DataFine = Testo(item, "DataFine");
  v.Codice = Testo(item, "Codice");
  v.Descrizione = Testo(item, "Descrizione");
  v.IDDiagnosi = Testo(item, "IDDiagnosi");
  v.Diagnosi = Testo(item, "Diagnosi");
  v.Pianificata = item.Membro("Pianificata").ToBool();
  v.IdServer = Testo(item, "IDRisorsa");
  v.CodiceVaccino = Testo(item, "CodiceVaccino");
  v.CodiceFarmaco = Testo(item, "CodiceFarmaco");
  v.Lotto = Testo(item, "Lotto");
  v.Scadenza = Testo(item, "Scadenza");
  v.Sito = Testo(item, "Sito");
  v.Via = Testo(item, "Via");
  v.Campagna = Intero(item.Membro("Campagna"));
  v.CategoriaRischio = Testo(item, "CategoriaRischio");
  v.Malattie = Testo(item, "Malattie");
  v.NonSomministrata = item.Membro("NonSomministrata").ToBool();
  v.Pagamento = Testo(item, "Pagamento");
  if (auto record = item.itmWs()) {
    v.TipoRecord = Intero(record->Membro("TipoRecord"));
    v.Valore = Testo(*record, "i1");
    if (v.Data.empty()) v.Data = Testo(*record, "Data");
  }
  return v;
}

VociFlusso AggiungiVoci(host::Collection& lista, const std::string& dalla_pc,
                        const std::string& alla_pc, long scarto_utc, fhir::FlussoCarePlan& flusso) {
  auto& fw = core::Ctx().App().Framework();
  VociFlusso voci;
  for (std::size_t i = 1; i <= lista.Count(); ++i) {
    auto item = lista.Item(i).As<host::IItemFlusso>();
    if (!item) {
      voci.errori.push_back("Elemento " + std::to_string(i) + " dell'elenco non valido");
      continue;
    }
    const fhir::VoceLocale voce = VoceDaItem(*item);
    if (voce.Tipo == fhir::kVoceOsservazione && !dalla_pc.empty() && !alla_pc.empty() &&
        !fhir::NelPeriodo(voce.Data, dalla_pc, alla_pc)) {
      continue;
    }
    const std::string guid = fw.GetSmartGUID();
    if (std::string errore = fhir::AggiungiVoce(voce, guid, scarto_utc, flusso); !errore.empty()) {
      voci.errori.push_back(std::move(errore));
      continue;
    }
    voci.items.push_back(item);
    voci.guid.push_back(guid);
  }
  return voci;
}

void RegistraIdVoci(const VociFlusso& voci, const fhir::FlussoCarePlan& flusso,
                    const fhir::EsitoFlusso& esito, bool annullamento) {
  // The entries' GUIDs in the order the Bundle carries them, per type.
  std::map<std::string, std::vector<std::string>> inviate;
  for (const auto& v : flusso.Vaccinazioni) inviate["Immunization"].push_back(v.Guid);
  for (const auto& o : flusso.Osservazioni) inviate["Observation"].push_back(o.Guid);
  std::map<std::string, std::string> id_di;  // GUID -> server id
  std::map<std::string, std::size_t> visti;
  for (const fhir::RispostaVoce& r : esito.Voci) {
    auto it = inviate.find(r.Tipo);
    if (it == inviate.end() || r.Id.empty()) continue;
    std::size_t& n = visti[r.Tipo];
    if (n < it->second.size()) id_di[it->second[n]] = r.Id;
    ++n;
  }
  for (std::size_t i = 0; i < voci.items.size(); ++i) {
    auto it = id_di.find(voci.guid[i]);
    if (annullamento) {
      voci.items[i]->Imposta("IDRisorsa", host::Variant(""));
    } else if (it != id_di.end()) {
      voci.items[i]->Imposta("IDRisorsa", host::Variant(it->second));
    }
  }
}

}  // namespace qzkiro::flows
