#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "qzkiro/host/Archivio.h"
#include "refhost/Workspace.h"

namespace qzkiro::refhost {

// The patient's own doctor, known by fiscal code.
class MedicoPaziente : public host::IMedicoPaziente {
 public:
  explicit MedicoPaziente(std::string codice_fiscale)
      : codice_fiscale_(std::move(codice_fiscale)) {}
  std::string CodiceFiscale() override { return codice_fiscale_; }

 private:
  std::string codice_fiscale_;
};

// A patient's items: those of the archive entry, then those saved since in
// their own file ("pazienti/<ID>.json" of the host's data folder). Salva
// writes every item to that file; without a file it only counts the saves.
class ItemsPaziente : public host::IItemsPaziente {
 public:
  ItemsPaziente(const nlohmann::json& voce, std::filesystem::path file);
  std::string GetItem(const std::string& key) override;
  void SetItem(const std::string& key, const std::string& value) override;
  void Salva() override;
  int Salvataggi() const { return salvataggi_; }

 private:
  std::map<std::string, std::string> items_;
  std::filesystem::path file_;
  int salvataggi_ = 0;
};

// The patient's exemption codes and ICD-9 problems, from the archive entry.
class CodiciPaziente : public host::IEsenzioniPaziente, public host::IProblemiPaziente {
 public:
  CodiciPaziente(std::vector<std::string> esenzioni, std::vector<std::string> problemi)
      : esenzioni_(std::move(esenzioni)), problemi_(std::move(problemi)) {}
  bool EsisteCodiceEsenzione(const std::string& codice) override;
  bool EsisteFamigliaICD9(const std::string& famiglia) override;
  bool EsisteCodiceICD9(const std::string& codice) override;

 private:
  std::vector<std::string> esenzioni_, problemi_;
};

// The summary the host wrote: a CDA file of the host's data folder; the last
// code sent is kept among the patient's items ("PatientSummary.UltimoCodice").
class PatientSummaryPaziente : public host::IPatientSummary {
 public:
  PatientSummaryPaziente(std::filesystem::path file, ItemsPaziente& items)
      : file_(std::move(file)), items_(items) {}
  std::string CDA2() override;
  std::string UltimoCodice() override;
  void SalvaUltimoCodice(const std::string& codice) override;

 private:
  std::filesystem::path file_;
  ItemsPaziente& items_;
};

// The privacy record and the contacts, kept among the patient's items
// ("Privacy.ConsensoFSEr", "Cellulare", "Email") over the archive's values.
class PrivacyPaziente : public host::IPrivacyPaziente {
 public:
  explicit PrivacyPaziente(ItemsPaziente& items) : items_(items) {}
  void SalvaConsensoFSEr(const std::string& stato) override;
  std::string ConsensoFSEr() override { return items_.GetItem("Privacy.ConsensoFSEr"); }

 private:
  ItemsPaziente& items_;
};

// A patient of the archive: the entry's "ID", "CodiceFiscale", "Cognome",
// "Nome", "Sesso", "DataNascita", "Medico" (the fiscal code of the own
// doctor), "Proprio" (Boolean), "Items" (texts by key), "Esenzioni" and
// "Problemi" (codes), "CodiceRegione" (the unit of assistance, "050503"
// when absent), "PatientSummary" (the summary's CDA file, relative
// to the host's sample data) and "PresaInCura" (the care programmes). The
// workspace is the host database's, once the archive connects it.
class Paziente : public host::IPaziente {
 public:
  explicit Paziente(const nlohmann::json& voce, const std::filesystem::path& cartella_dati = {});
  std::string ID() override { return id_; }
  std::string CodiceFiscale() override { return codice_fiscale_; }
  std::string Cognome() override { return cognome_; }
  std::string Nome() override { return nome_; }
  std::string Sesso() override { return sesso_; }
  std::string DataNascita() override { return data_nascita_; }
  std::shared_ptr<host::IMedicoPaziente> Medico() override { return medico_; }
  bool Proprio() override { return proprio_; }
  ItemsPaziente& Items() override { return items_; }
  host::IEsenzioniPaziente& Esenzioni() override { return codici_; }
  host::IProblemiPaziente& Problemi() override { return codici_; }
  host::IPatientSummary& PatientSummary() override { return summary_; }
  host::IPrivacyPaziente& Privacy() override { return privacy_; }
  std::string NomeCompleto() override { return cognome_ + " " + nome_; }
  std::string CodiceRegione() override { return codice_regione_; }
  std::string Cellulare() override;
  std::string Email() override;
  void SalvaRecapiti(const std::string& cellulare, const std::string& email) override;
  WorkspacePaziente& Workspace() override { return workspace_; }
  PresaInCuraPaziente& PresaInCura() override { return presa_in_cura_; }

  void SetMedico(const std::string& codice_fiscale);
  void SetProprio(bool proprio) { proprio_ = proprio; }

 private:
  std::string id_, codice_fiscale_, cognome_, nome_, sesso_, data_nascita_;
  std::shared_ptr<MedicoPaziente> medico_;
  bool proprio_ = false;
  ItemsPaziente items_;
  CodiciPaziente codici_;
  PatientSummaryPaziente summary_;
  PrivacyPaziente privacy_;
  std::string cellulare_, email_;  // the archive's
  std::string codice_regione_;
  WorkspacePaziente workspace_;
  PresaInCuraPaziente presa_in_cura_;
};

}  // namespace qzkiro::refhost
