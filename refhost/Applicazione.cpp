#include "refhost/Applicazione.h"

#include <chrono>
#include <cstdio>
#include <ctime>

#include "refhost/Archivi.h"
#include "refhost/Database.h"
#include "refhost/FlussiMese.h"
#include "refhost/SchemaHost.h"

namespace qzkiro::refhost {

std::string Api::LocalTime() {
  const auto adesso = std::chrono::system_clock::now();
  const auto millisecondi =
      std::chrono::duration_cast<std::chrono::milliseconds>(adesso.time_since_epoch()).count() %
      1000;
  const std::time_t secondi = std::chrono::system_clock::to_time_t(adesso);
  std::tm locale{};
  localtime_r(&secondi, &locale);
  char testo[16];
  std::snprintf(testo, sizeof testo, "%02d:%02d:%02d.%03d", locale.tm_hour, locale.tm_min,
                locale.tm_sec, static_cast<int>(millisecondi));
  return testo;
}

Applicazione::Applicazione(std::filesystem::path cartella_dati, std::string connessione_db)
    : cartella_dati_(std::move(cartella_dati)),
      connessione_db_(std::move(connessione_db)),
      utente_(cartella_dati_),
      registry_(cartella_dati_),
      giornale_(cartella_dati_ / "giornale.txt", utente_.CodiceFiscale()) {
  framework_.ImpostaFlussi([this](const std::string& mese) {
    SorgenteFlussi sorgente{
        {[this]() -> host::IDB& { return DB(); }, [this] { return utente_.IDSchema(); }},
        [this] { return host::Come<host::IArchivioPazienti>(Archivio("Pazienti"), "Pazienti"); },
        cartella_dati_};
    return std::make_shared<FlussiMese>(mese, std::move(sorgente));
  });
  utente_.CollegaStorico(
      {[this]() -> host::IDB& { return DB(); }, [this] { return utente_.IDSchema(); }});
}

Applicazione::~Applicazione() = default;

host::Variant Applicazione::Setup(const std::string& name) {
  auto it = setup_.find(name);
  return it == setup_.end() ? host::Variant() : it->second;
}

void Applicazione::SetSetup(const std::string& name, const host::Variant& value) {
  setup_[name] = value;
  scritture_setup_.emplace_back(name, value);
}

void Applicazione::GeneraEvento(const std::string& event, const std::string& value) {
  eventi_.emplace_back(event, value);
}

std::string Applicazione::ChiediEvento(const std::string& event, const std::string& value) {
  eventi_.emplace_back(event, value);
  const auto risposta = risposte_eventi_.find(event);
  return risposta == risposte_eventi_.end() ? std::string() : risposta->second;
}

host::IDB& Applicazione::DB() {
  if (!db_) {
    auto db = std::make_unique<Database>(connessione_db_);
    PreparaSchemaHost(*db, utente_.IDSchema());
    db_ = std::move(db);
  }
  return *db_;
}

std::shared_ptr<host::IArchivio> Applicazione::Archivio(const std::string& name) {
  auto& archivio = archivi_[name];
  if (!archivio) {
    archivio = ApriArchivio(cartella_dati_, name);
    if (auto pazienti = std::dynamic_pointer_cast<ArchivioPazienti>(archivio)) {
      pazienti->CollegaWorkspace(
          {[this]() -> host::IDB& { return DB(); }, [this] { return utente_.IDSchema(); }});
    }
  }
  return archivio;
}

bool Applicazione::ApriPaziente(const std::string& id) {
  auto paziente =
      host::Come<host::IArchivioPazienti>(Archivio("Pazienti"), "Pazienti")->DaiPaziente(id);
  if (!paziente) return false;
  paziente_aperto_ = std::move(paziente);
  return true;
}

}  // namespace qzkiro::refhost
