#pragma once

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "qzkiro/host/Database.h"
#include "qzkiro/host/Workspace.h"
#include "refhost/Ricetta.h"

namespace qzkiro::refhost {

// A workspace record read from the host's table (host::IRecordWorkspace).
// The stand-in host keeps the patient's history in the same table, so a
// record is also a history item: a vaccination is a record of type 300
// whose m1 is a JSON object of the vaccination's properties and whose t1
// names the vaccine (IDRif2).
class RecordWorkspace : public host::IItemStorico {
 public:
  RecordWorkspace();
  std::shared_ptr<host::IProprieta> FromStringVaccinazione() override;
  // An additional service is a record of type 209 whose m1 is a JSON object
  // with the service's identifier as text "IDRif1".
  bool FromStringPPIP() override;
  // Writes the plain values of a JSON object into `verso`; throws on a value
  // that is not text, number or Boolean, or a name `verso` lacks.
  static void CopiaProprieta(const nlohmann::json& json, host::IProprieta& verso);
  host::Variant Membro(const std::string& nome) override { return valori_.Leggi(nome); }
  void Imposta(const std::string& nome, const host::Variant& valore) override {
    valori_.Scrivi(nome, valore);
  }

 private:
  ValoriProprieta valori_;
};

// Where a patient's workspace lives: the host database and the user's
// schema, both asked for on first use (the database connects lazily).
struct SorgenteWorkspace {
  std::function<host::IDB&()> db;
  std::function<std::string()> schema;
};

// The workspace of one patient: the rows of "<schema>.tblworkspace" whose
// idpaziente is the patient's host id. Without a source (a patient the host
// made outside its archive) the workspace is empty.
inline constexpr int kRecordVaccinazione = 300;
inline constexpr int kRecordPPIP = 209;
inline constexpr int kRecordAccesso = 10;  // t1: the access type's code
inline constexpr int kRecordVisitaDomicilio = 11;

class WorkspacePaziente : public host::IWorkspace {
 public:
  explicit WorkspacePaziente(std::string id_paziente) : id_paziente_(std::move(id_paziente)) {}
  void Collega(SorgenteWorkspace sorgente) { sorgente_ = std::move(sorgente); }
  std::vector<std::shared_ptr<host::IRecordWorkspace>> ListaFiltrata(
      const std::vector<int>& tipi) override;

 private:
  std::string id_paziente_;
  SorgenteWorkspace sorgente_;
};

// The care programmes of the archive entry ("PresaInCura": ["Diabete"]).
class PresaInCuraPaziente : public host::IPresaInCura {
 public:
  explicit PresaInCuraPaziente(std::vector<std::string> programmi)
      : programmi_(programmi.begin(), programmi.end()) {}
  bool InCura(const std::string& programma) override { return programmi_.contains(programma); }

 private:
  std::set<std::string> programmi_;
};

}  // namespace qzkiro::refhost
