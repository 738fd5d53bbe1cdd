#include "refhost/FlussiMese.h"

#include <nlohmann/json.hpp>

#include "refhost/Flusso.h"
#include "refhost/Json.h"

namespace qzkiro::refhost {

namespace {

using host::Variant;

// What Salva keeps of each flow.
constexpr const char* kStatoFlusso[] = {
    "Stato",     "Errori",        "Ricevuta",         "IDRichiesta",  "DataCreazione",
    "DataInvio", "DataRicezione", "DataElaborazione", "ServerStatus", "IDFlusso"};

// "mm/yyyy" as the first day "yyyymm01"; "" for anything else.
std::string PrimoGiorno(const std::string& mese) {
  if (mese.size() != 7 || mese[2] != '/') return {};
  for (std::size_t i : {0u, 1u, 3u, 4u, 5u, 6u}) {
    if (mese[i] < '0' || mese[i] > '9') return {};
  }
  const int numero = std::stoi(mese.substr(0, 2));
  if (numero < 1 || numero > 12) return {};
  return mese.substr(3) + mese.substr(0, 2) + "01";
}

std::shared_ptr<host::IItemFlusso> Item(host::IRecordWorkspace& r, int tipo) {
  auto item = std::make_shared<ItemFlusso>();
  item->Imposta("Tipo", Variant(tipo));
  item->Imposta("Data", Variant(r.Membro("Data").ToText()));
  item->Imposta("Descrizione", r.Membro("Descrizione"));
  item->Imposta("IDDiagnosi", r.Membro("IDDiagnosi"));
  item->Imposta("Diagnosi", r.Membro("Diagnosi"));
  return item;
}

// The flow item a record of the month becomes; null for none.
std::shared_ptr<host::IItemFlusso> ItemDelRecord(const std::shared_ptr<RecordWorkspace>& r,
                                                 bool diabete) {
  switch (r->Membro("TipoRecord").ToInteger()) {
    case kRecordAccesso: {
      auto item = Item(*r, 1);
      item->Imposta("Codice", r->Membro("t1"));
      return item;
    }
    case kRecordVisitaDomicilio:
      return Item(*r, 4);
    case 204:
    case 210: {
      if (!diabete) return nullptr;
      auto item = Item(*r, 7);
      item->ImpostaItmWs(r);
      return item;
    }
    case kRecordVaccinazione: {
      auto vaccinazione = r->FromStringVaccinazione();
      if (!vaccinazione) return nullptr;
      auto item = Item(*r, 6);
      const nlohmann::json dati = nlohmann::json::parse(r->Membro("m1").ToText());
      RecordWorkspace::CopiaProprieta(dati, *item);
      return item;
    }
    default:
      return nullptr;
  }
}

constexpr int kTipiDelMese[] = {kRecordAccesso, kRecordVisitaDomicilio, 204, 210,
                                kRecordVaccinazione};

}  // namespace

FlussiMese::FlussiMese(std::string mese, SorgenteFlussi sorgente)
    : mese_(std::move(mese)), inizio_(PrimoGiorno(mese_)), sorgente_(std::move(sorgente)) {}

std::filesystem::path FlussiMese::File() const {
  return sorgente_.cartella / "flussi" / (inizio_.substr(0, 6) + ".json");
}

bool FlussiMese::AnalisiDati() {
  if (inizio_.empty() || !sorgente_.workspace.db || !sorgente_.pazienti) return false;
  std::string tipi;
  for (int t : kTipiDelMese) tipi += (tipi.empty() ? "" : ",") + std::to_string(t);
  auto righe = sorgente_.workspace.db().OpenRecordSet(
      "SELECT DISTINCT idpaziente FROM " + sorgente_.workspace.schema() +
      ".tblworkspace WHERE tiporecord IN (" + tipi + ") AND to_char(data, 'YYYYMM') = '" +
      inizio_.substr(0, 6) + "' AND idpaziente IS NOT NULL ORDER BY idpaziente");
  const nlohmann::json salvato = LeggiJson(File());
  if (salvato.is_object() && salvato.contains("IDFlusso")) id_ = salvato["IDFlusso"];
  auto archivio = sorgente_.pazienti();
  flussi_.clear();
  for (; !righe->Eof(); righe->MoveNext()) {
    auto paziente = archivio->DaiPaziente(righe->Field("idpaziente").ToText());
    if (!paziente) continue;
    auto flusso = std::make_shared<Flusso>();
    const std::string cf = paziente->CodiceFiscale();
    flusso->Imposta("anagrafica", Variant(cf));
    if (salvato.is_object() && salvato.contains("Flussi") && salvato["Flussi"].contains(cf)) {
      RecordWorkspace::CopiaProprieta(salvato["Flussi"][cf], *flusso);
    }
    flussi_[cf] = std::move(flusso);
  }
  return true;
}

bool FlussiMese::CreaFlusso() {
  if (inizio_.empty()) return false;
  id_ = "ACN-" + inizio_.substr(0, 6);
  for (auto& [cf, flusso] : flussi_) flusso->Imposta("IDFlusso", Variant(id_));
  return true;
}

std::vector<std::shared_ptr<host::IFlusso>> FlussiMese::ListaFlussiInviabili(
    const std::string& codice_fiscale) {
  std::vector<std::shared_ptr<host::IFlusso>> lista;
  for (const auto& [cf, flusso] : flussi_) {
    if (codice_fiscale.empty() || cf == codice_fiscale) lista.push_back(flusso);
  }
  return lista;
}

std::vector<std::shared_ptr<host::IItemFlusso>> FlussiMese::RecordsLocali(host::IFlusso& flusso) {
  std::vector<std::shared_ptr<host::IItemFlusso>> items;
  if (!sorgente_.pazienti || inizio_.empty()) return items;
  auto paziente = sorgente_.pazienti()->DaiPaziente(flusso.Membro("anagrafica").ToText());
  if (!paziente) return items;
  const bool diabete = paziente->PresaInCura().InCura("Diabete");
  const std::vector<int> tipi(std::begin(kTipiDelMese), std::end(kTipiDelMese));
  for (const auto& record : paziente->Workspace().ListaFiltrata(tipi)) {
    auto r = std::dynamic_pointer_cast<RecordWorkspace>(record);
    if (!r || r->Membro("Data").ToText().substr(0, 6) != inizio_.substr(0, 6)) continue;
    if (auto item = ItemDelRecord(r, diabete)) items.push_back(std::move(item));
  }
  return items;
}

bool FlussiMese::Salva() {
  if (inizio_.empty()) return false;
  nlohmann::json documento = {{"IDFlusso", id_}, {"Flussi", nlohmann::json::object()}};
  for (const auto& [cf, flusso] : flussi_) {
    nlohmann::json stato = nlohmann::json::object();
    for (const char* nome : kStatoFlusso) {
      const Variant v = flusso->Membro(nome);
      if (v.IsInteger()) {
        stato[nome] = v.ToInteger();
      } else {
        stato[nome] = v.ToText();
      }
    }
    documento["Flussi"][cf] = std::move(stato);
  }
  std::filesystem::create_directories(File().parent_path());
  ScriviJson(File(), documento);
  return true;
}

}  // namespace qzkiro::refhost
