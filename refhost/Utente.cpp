#include "refhost/Utente.h"

#include <cstdio>

#include "refhost/Json.h"

namespace qzkiro::refhost {

std::string ItemsUtente::GetItem(const std::string& key) {
  auto it = items_.find(key);
  return it == items_.end() ? std::string() : it->second;
}

void ItemsUtente::SetItem(const std::string& key, const std::string& value) {
  items_[key] = value;
}

Utente::Utente(const std::filesystem::path& cartella_dati) {
  auto json = LeggiJson(cartella_dati / "utente.json");
  codice_fiscale_ = Testo(json, "CodiceFiscale");
  codice_regione_asl_ = Testo(json, "CodiceRegioneASL");
  cognome_ = Testo(json, "Cognome");
  nome_ = Testo(json, "Nome");
  codice_regionale_ = Testo(json, "CodiceRegionale");
  id_schema_ = Testo(json, "IDSchema");
  email_ = Testo(json, "Email");
  codice_struttura_ = Testo(json, "CodiceStruttura");
  tipo_ = static_cast<std::int16_t>(json.value("Tipo", 0));
  if (auto items = json.find("Items"); items != json.end() && items->is_object()) {
    for (const auto& [key, value] : items->items()) {
      items_.SetItem(key, value.is_string() ? value.get<std::string>() : value.dump());
    }
  }
  auto temp = cartella_dati / "temp";
  std::filesystem::create_directories(temp);
  temp_dir_ = temp.string();
}

std::string Utente::TempFile() {
  std::error_code errore;
  std::filesystem::create_directories(temp_dir_, errore);
  for (;;) {
    char nome[48];
    std::snprintf(nome, sizeof nome, "kiro_%lu_%08x.tmp", ++file_temporanei_,
                  static_cast<unsigned>(casuale_()));
    const auto file = std::filesystem::path(temp_dir_) / nome;
    if (!std::filesystem::exists(file, errore)) return file.string();
  }
}

}  // namespace qzkiro::refhost
