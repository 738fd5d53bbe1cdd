#pragma once

#include <filesystem>
#include <map>
#include <random>
#include <string>

#include "qzkiro/host/Utente.h"
#include "refhost/StoricoUtente.h"

namespace qzkiro::refhost {

// The current user's setting items, kept in memory and saved with the user.
class ItemsUtente : public host::IItems {
 public:
  std::string GetItem(const std::string& key) override;
  void SetItem(const std::string& key, const std::string& value) override;
  const std::map<std::string, std::string>& Tutti() const { return items_; }

 private:
  std::map<std::string, std::string> items_;
};

// The host's current user, read from "utente.json" in the host's data folder.
// Its temporary folder is "temp" in the data folder; TempFile names a file
// there that does not exist yet, "kiro_<n>_<random>.tmp", with a counter
// for this object and a random part against other processes, making the
// folder again when it was removed.
class Utente : public host::IUtente {
 public:
  explicit Utente(const std::filesystem::path& cartella_dati);

  std::string CodiceFiscale() override { return codice_fiscale_; }
  std::string CodiceRegioneASL() override { return codice_regione_asl_; }
  std::int16_t Tipo() override { return tipo_; }
  std::string TempDir() override { return temp_dir_; }
  std::string Cognome() override { return cognome_; }
  std::string Nome() override { return nome_; }
  std::string NomeCompleto() override { return cognome_ + " " + nome_; }
  std::string CodiceRegionale() override { return codice_regionale_; }
  std::string IDSchema() override { return id_schema_; }
  std::string Email() override { return email_; }
  std::string CodiceStruttura() override { return codice_struttura_; }
  ItemsUtente& Items() override { return items_; }
  std::string TempFile() override;
  // The history, read from the host database once it is connected.
  StoricoUtente& Storico() override { return storico_; }
  void CollegaStorico(SorgenteWorkspace sorgente) { storico_.Collega(std::move(sorgente)); }

  void SetCodiceFiscale(std::string v) { codice_fiscale_ = std::move(v); }
  void SetCodiceRegioneASL(std::string v) { codice_regione_asl_ = std::move(v); }
  void SetTipo(std::int16_t v) { tipo_ = v; }
  void SetIDSchema(std::string v) { id_schema_ = std::move(v); }

 private:
  std::string codice_fiscale_, codice_regione_asl_, temp_dir_, cognome_, nome_;
  std::string codice_regionale_, id_schema_, email_, codice_struttura_;
  std::int16_t tipo_ = 0;
  ItemsUtente items_;
  StoricoUtente storico_;
  unsigned long file_temporanei_ = 0;
  std::mt19937 casuale_{std::random_device{}()};
};

}  // namespace qzkiro::refhost
