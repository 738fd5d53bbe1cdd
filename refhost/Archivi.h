#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "qzkiro/host/Archivio.h"
#include "refhost/Paziente.h"

namespace qzkiro::refhost {

// The host's archives, each read from "archivi/<name>.json" of the host's data
// folder: {"Versione": "...", "Voci": [...]}. A missing file is an archive
// never updated: no entries and an empty version.

// An archive with a version and no members of its own (Esami).
class ArchivioCatalogo : public host::IArchivio {
 public:
  explicit ArchivioCatalogo(const nlohmann::json& document);
  std::string Versione() override { return versione_; }

 private:
  std::string versione_;
};

class ArchivioPazienti : public host::IArchivioPazienti {
 public:
  // The patients' saved items live in "pazienti/" of `cartella_dati`.
  explicit ArchivioPazienti(const nlohmann::json& document,
                            const std::filesystem::path& cartella_dati = {});
  std::string Versione() override { return versione_; }
  std::shared_ptr<host::IPaziente> DaiPaziente(const std::string& id) override;
  // The stand-in host has no window: the list is "closed" (null) unless
  // ScegliAllaProssima named the patient the user picks next. The column
  // asked for is recorded.
  std::shared_ptr<host::IPaziente> Scegli(const std::string& colonna) override;
  void ScegliAllaProssima(std::string id) { scelta_ = std::move(id); }
  const std::vector<std::string>& ColonneMostrate() const { return colonne_mostrate_; }
  // Compares the doctor's fiscal code without regard to case.
  std::vector<host::VoceAssistito> ListaAssistiti(const std::string& cf_medico) override;
  // The own patients ("Proprio") whose doctor ("Medico") is `cf_medico`,
  // letter case ignored.
  std::vector<std::string> ListaCFPazientiSSN(const std::string& cf_medico) override;
  const std::vector<std::shared_ptr<Paziente>>& Tutti() const { return pazienti_; }
  // Gives every patient its workspace in the host database.
  void CollegaWorkspace(const SorgenteWorkspace& sorgente) {
    for (const auto& p : pazienti_) p->Workspace().Collega(sorgente);
  }

 private:
  std::string versione_;
  std::vector<std::shared_ptr<Paziente>> pazienti_;
  std::string scelta_;
  std::vector<std::string> colonne_mostrate_;
};

class ArchivioPPIP : public host::IArchivioPPIP {
 public:
  explicit ArchivioPPIP(const nlohmann::json& document);
  std::string Versione() override { return versione_; }
  std::optional<host::VocePPIP> Carica(const std::string& id) override;
  std::string DaiCodice(const std::string& id) override;

 private:
  std::string versione_;
  std::map<std::string, host::VocePPIP> voci_;
};

// The specialist-visit catalogue: entries "ID", "Codice", "Descrizione".
class ArchivioVisite : public host::IArchivioVisite {
 public:
  explicit ArchivioVisite(const nlohmann::json& document);
  std::string Versione() override { return versione_; }
  std::optional<host::VoceVisita> Carica(const std::string& id) override;

 private:
  std::string versione_;
  std::map<std::string, host::VoceVisita> voci_;
};

// The regional affinity domain's document types: entries "Codice" (LOINC)
// and "Famiglia" ("LAB", "RAD", ...).
class ArchivioAffinityDomain : public host::IArchivioAffinityDomain {
 public:
  explicit ArchivioAffinityDomain(const nlohmann::json& document);
  std::string Versione() override { return versione_; }
  std::string XDSDocumentEntry_typeCode(const std::string& codice) override;

 private:
  std::string versione_;
  std::map<std::string, std::string> famiglie_;
};

class ArchivioStrutture : public host::IArchivioStrutture {
 public:
  explicit ArchivioStrutture(const nlohmann::json& document);
  std::string Versione() override { return versione_; }
  std::string Denominazione(const std::string& codice) override;

 private:
  std::string versione_;
  std::map<std::string, std::string> denominazioni_;
};

// Municipalities; an entry may carry "Dal"/"Al" ("yyyymmdd") for the period
// in which its ISTAT code was valid.
class ArchivioComuni : public host::IArchivioComuni {
 public:
  explicit ArchivioComuni(const nlohmann::json& document);
  std::string Versione() override { return versione_; }
  std::optional<host::VoceComune> CaricaIstat(const std::string& istat,
                                              const std::string& data) override;
  std::optional<host::VoceComune> CaricaCF(const std::string& catastale) override;
  // By name, letter case ignored; the entry in force today (no "Al").
  std::string DaiCodiceCatastale(const std::string& nome) override;
  std::string DaiCodiceISTAT(const std::string& nome) override;

 private:
  const host::VoceComune* PerNome(const std::string& nome) const;
  struct Voce {
    host::VoceComune comune;
    std::string dal, al;
  };
  std::string versione_;
  std::vector<Voce> voci_;
};

class ArchivioUtenti : public host::IArchivioUtenti {
 public:
  explicit ArchivioUtenti(const nlohmann::json& document);
  std::string Versione() override { return versione_; }
  std::vector<host::VoceUtente> Elenco() override { return utenti_; }

 private:
  std::string versione_;
  std::vector<host::VoceUtente> utenti_;
};

// Opens the archive `name` of the data folder; throws Failure for a name the
// host does not know.
std::shared_ptr<host::IArchivio> ApriArchivio(const std::filesystem::path& cartella_dati,
                                              const std::string& name);

}  // namespace qzkiro::refhost
