#include "refhost/Paziente.h"

#include <algorithm>
#include <optional>

#include "refhost/Json.h"
#include "util/File.h"

namespace qzkiro::refhost {

namespace {

void Aggiungi(std::map<std::string, std::string>& items, const nlohmann::json& oggetto) {
  if (!oggetto.is_object()) return;
  for (const auto& [chiave, valore] : oggetto.items()) {
    items[chiave] = valore.is_string() ? valore.get<std::string>() : valore.dump();
  }
}

}  // namespace

ItemsPaziente::ItemsPaziente(const nlohmann::json& voce, std::filesystem::path file)
    : file_(std::move(file)) {
  if (auto it = voce.find("Items"); it != voce.end()) Aggiungi(items_, *it);
  if (!file_.empty()) Aggiungi(items_, LeggiJson(file_));
}

std::string ItemsPaziente::GetItem(const std::string& key) {
  auto it = items_.find(key);
  return it == items_.end() ? std::string() : it->second;
}

void ItemsPaziente::SetItem(const std::string& key, const std::string& value) {
  items_[key] = value;
}

void ItemsPaziente::Salva() {
  ++salvataggi_;
  if (file_.empty()) return;
  std::filesystem::create_directories(file_.parent_path());
  ScriviJson(file_, nlohmann::json(items_));
}

Paziente::Paziente(const nlohmann::json& voce, const std::filesystem::path& cartella_dati)
    : id_(Testo(voce, "ID")),
      codice_fiscale_(Testo(voce, "CodiceFiscale")),
      cognome_(Testo(voce, "Cognome")),
      nome_(Testo(voce, "Nome")),
      sesso_(Testo(voce, "Sesso")),
      data_nascita_(Testo(voce, "DataNascita")),
      proprio_(voce.value("Proprio", false)),
      items_(voce, cartella_dati.empty() || id_.empty()
                       ? std::filesystem::path()
                       : cartella_dati / "pazienti" / (id_ + ".json")),
      codici_(voce.value("Esenzioni", std::vector<std::string>{}),
              voce.value("Problemi", std::vector<std::string>{})),
      summary_(voce.contains("PatientSummary") && !cartella_dati.empty()
                   ? cartella_dati / Testo(voce, "PatientSummary")
                   : std::filesystem::path(),
               items_),
      privacy_(items_),
      cellulare_(Testo(voce, "Cellulare")),
      email_(Testo(voce, "Email")),
      codice_regione_(voce.contains("CodiceRegione") ? Testo(voce, "CodiceRegione") : "050503"),
      workspace_(id_),
      presa_in_cura_(voce.value("PresaInCura", std::vector<std::string>{})) {
  SetMedico(Testo(voce, "Medico"));
}

bool CodiciPaziente::EsisteCodiceEsenzione(const std::string& codice) {
  return std::find(esenzioni_.begin(), esenzioni_.end(), codice) != esenzioni_.end();
}

bool CodiciPaziente::EsisteFamigliaICD9(const std::string& famiglia) {
  return std::any_of(problemi_.begin(), problemi_.end(), [&](const std::string& p) {
    return p == famiglia || p.rfind(famiglia + ".", 0) == 0;
  });
}

bool CodiciPaziente::EsisteCodiceICD9(const std::string& codice) {
  return std::find(problemi_.begin(), problemi_.end(), codice) != problemi_.end();
}

std::string PatientSummaryPaziente::CDA2() {
  const auto dati = file_.empty() ? std::nullopt : util::LeggiFile(file_.string());
  return dati ? util::ComeTesto(*dati) : std::string();
}

std::string PatientSummaryPaziente::UltimoCodice() {
  return items_.GetItem("PatientSummary.UltimoCodice");
}

void PatientSummaryPaziente::SalvaUltimoCodice(const std::string& codice) {
  items_.SetItem("PatientSummary.UltimoCodice", codice);
  items_.Salva();
}

void PrivacyPaziente::SalvaConsensoFSEr(const std::string& stato) {
  items_.SetItem("Privacy.ConsensoFSEr", stato);
  items_.Salva();
}

std::string Paziente::Cellulare() {
  const std::string salvato = items_.GetItem("Cellulare");
  return salvato.empty() ? cellulare_ : salvato;
}

std::string Paziente::Email() {
  const std::string salvato = items_.GetItem("Email");
  return salvato.empty() ? email_ : salvato;
}

void Paziente::SalvaRecapiti(const std::string& cellulare, const std::string& email) {
  items_.SetItem("Cellulare", cellulare);
  items_.SetItem("Email", email);
  items_.Salva();
}

void Paziente::SetMedico(const std::string& codice_fiscale) {
  medico_ = codice_fiscale.empty() ? nullptr : std::make_shared<MedicoPaziente>(codice_fiscale);
}

}  // namespace qzkiro::refhost
