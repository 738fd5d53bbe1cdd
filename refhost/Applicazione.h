#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "qzkiro/host/Application.h"
#include "refhost/Base64.h"
#include "refhost/Framework.h"
#include "refhost/Giornale.h"
#include "refhost/Registry.h"
#include "refhost/Utente.h"

namespace qzkiro::refhost {

class Database;

// The host's system services: the real local time.
class Api : public host::IApi {
 public:
  std::string LocalTime() override;
};

// The stand-in host application. Its data folder holds "utente.json", the
// archives under "archivi/", "registry.json" and the user's "temp" folder;
// the database is a PostgreSQL server reached with `connessione_db` (a libpq
// connection string; "" uses the PG* environment variables), connected on
// first use, when the user's schema and the archives' schema are made if
// missing. Set-up values keep their type; every write and every event is
// recorded in order.
class Applicazione : public host::IApplication {
 public:
  explicit Applicazione(std::filesystem::path cartella_dati, std::string connessione_db = {});
  ~Applicazione() override;

  refhost::Utente& Utente() override { return utente_; }
  host::Variant Setup(const std::string& name) override;
  void SetSetup(const std::string& name, const host::Variant& value) override;
  void GeneraEvento(const std::string& event, const std::string& value) override;
  // Recorded with the other events; answers what RispondiEvento set for it,
  // "" (no handler answered) otherwise.
  std::string ChiediEvento(const std::string& event, const std::string& value) override;
  refhost::Framework& Framework() override { return framework_; }
  refhost::Registry& Registry() override { return registry_; }
  host::IDB& DB() override;
  std::shared_ptr<host::IArchivio> Archivio(const std::string& name) override;
  refhost::Base64& Base64() override { return base64_; }
  Api& API() override { return api_; }
  std::shared_ptr<host::IPaziente> Paziente() override { return paziente_aperto_; }
  // The workstation's journal, "giornale.txt" of the data folder.
  refhost::Giornale& Giornale() override { return giornale_; }

  // Opens the patient of the patients' archive with this host identifier or
  // fiscal code on the host's screen; false when the archive has no such
  // patient (nothing changes then).
  bool ApriPaziente(const std::string& id);
  // Puts any patient object on the screen; null closes the open patient.
  void ImpostaPaziente(std::shared_ptr<host::IPaziente> paziente) {
    paziente_aperto_ = std::move(paziente);
  }

  const std::filesystem::path& CartellaDati() const { return cartella_dati_; }
  const std::vector<std::pair<std::string, host::Variant>>& ScrittureSetup() const {
    return scritture_setup_;
  }
  const std::vector<std::pair<std::string, std::string>>& Eventi() const { return eventi_; }
  // The answer the host's handler gives to `event` from now on.
  void RispondiEvento(const std::string& event, std::string risposta) {
    risposte_eventi_[event] = std::move(risposta);
  }

 private:
  std::filesystem::path cartella_dati_;
  std::string connessione_db_;
  refhost::Utente utente_;
  refhost::Framework framework_;
  refhost::Registry registry_;
  refhost::Base64 base64_;
  Api api_;
  refhost::Giornale giornale_;
  std::unique_ptr<Database> db_;
  std::map<std::string, host::Variant> setup_;
  std::vector<std::pair<std::string, host::Variant>> scritture_setup_;
  std::vector<std::pair<std::string, std::string>> eventi_;
  std::map<std::string, std::string> risposte_eventi_;
  std::map<std::string, std::shared_ptr<host::IArchivio>> archivi_;
  std::shared_ptr<host::IPaziente> paziente_aperto_;
};

}  // namespace qzkiro::refhost
