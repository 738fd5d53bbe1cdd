#include "refhost/Workspace.h"

#include <cctype>
#include <stdexcept>

#include <nlohmann/json.hpp>

#include "refhost/Flusso.h"

namespace qzkiro::refhost {

namespace {

const std::vector<Proprieta>& TabellaRecord() {
  static const std::vector<Proprieta> tabella = {
      {"ID", 0},        {"TipoRecord", 0},  {"Data", ""},   {"Descrizione", ""}, {"IDDiagnosi", ""},
      {"Diagnosi", ""}, {"IDPadre", 0},     {"idrifp", ""}, {"i1", 0},           {"t1", ""},
      {"m1", ""},       {"IDPaziente", ""}, {"IDRif2", ""},
      {"IDRif1", ""},
  };
  return tabella;
}

bool SoloCifre(const std::string& testo) {
  if (testo.empty()) return false;
  for (unsigned char c : testo) {
    if (!std::isdigit(c)) return false;
  }
  return true;
}

}  // namespace

RecordWorkspace::RecordWorkspace() : valori_("RecordWorkspace", TabellaRecord()) {}

std::shared_ptr<host::IProprieta> RecordWorkspace::FromStringVaccinazione() {
  if (valori_.Leggi("TipoRecord").ToInteger() != kRecordVaccinazione) return nullptr;
  const auto json = nlohmann::json::parse(valori_.Leggi("m1").ToText(), nullptr, false);
  auto vaccinazione = std::make_shared<ItemFlusso>();
  if (!json.is_object()) return nullptr;
  try {
    CopiaProprieta(json, *vaccinazione);
  } catch (const std::exception&) {
    return nullptr;  // a property no vaccination has
  }
  return vaccinazione;
}

bool RecordWorkspace::FromStringPPIP() {
  if (valori_.Leggi("TipoRecord").ToInteger() != kRecordPPIP) return false;
  const auto json = nlohmann::json::parse(valori_.Leggi("m1").ToText(), nullptr, false);
  if (!json.is_object()) return false;
  const auto id = json.find("IDRif1");
  if (id == json.end() || !id->is_string() || id->get<std::string>().empty()) return false;
  valori_.Scrivi("IDRif1", host::Variant(id->get<std::string>()));
  return true;
}

void RecordWorkspace::CopiaProprieta(const nlohmann::json& json, host::IProprieta& verso) {
  for (const auto& [nome, valore] : json.items()) {
    if (valore.is_string()) {
      verso.Imposta(nome, host::Variant(valore.get<std::string>()));
    } else if (valore.is_boolean()) {
      verso.Imposta(nome, host::Variant(valore.get<bool>()));
    } else if (valore.is_number_integer()) {
      verso.Imposta(nome, host::Variant(valore.get<long>()));
    } else {
      throw std::invalid_argument(nome);
    }
  }
}

std::vector<std::shared_ptr<host::IRecordWorkspace>> WorkspacePaziente::ListaFiltrata(
    const std::vector<int>& tipi) {
  std::vector<std::shared_ptr<host::IRecordWorkspace>> records;
  // The host's ids are numbers; anything else names no row of the table.
  if (!sorgente_.db || tipi.empty() || !SoloCifre(id_paziente_)) return records;
  std::string elenco;
  for (int tipo : tipi) elenco += (elenco.empty() ? "" : ",") + std::to_string(tipo);
  auto righe = sorgente_.db().OpenRecordSet(
      "SELECT id, tiporecord, to_char(data, 'YYYYMMDD') AS data, descrizione, iddiagnosi,"
      " diagnosi, idpadre, idrifp, i1, t1, m1 FROM " +
      sorgente_.schema() + ".tblworkspace WHERE idpaziente = " + id_paziente_ +
      " AND tiporecord IN (" + elenco + ") ORDER BY data, id");
  for (; !righe->Eof(); righe->MoveNext()) {
    auto r = std::make_shared<RecordWorkspace>();
    r->Imposta("ID", righe->Field("id"));
    r->Imposta("TipoRecord", righe->Field("tiporecord"));
    r->Imposta("Data", host::Variant(righe->Field("data").ToText()));
    r->Imposta("Descrizione", host::Variant(righe->Field("descrizione").ToText()));
    r->Imposta("IDDiagnosi", host::Variant(righe->Field("iddiagnosi").ToText()));
    r->Imposta("Diagnosi", host::Variant(righe->Field("diagnosi").ToText()));
    r->Imposta("IDPadre", righe->Field("idpadre"));
    r->Imposta("idrifp", host::Variant(righe->Field("idrifp").ToText()));
    r->Imposta("i1", righe->Field("i1"));
    r->Imposta("t1", host::Variant(righe->Field("t1").ToText()));
    r->Imposta("m1", host::Variant(righe->Field("m1").ToText()));
    r->Imposta("IDPaziente", host::Variant(id_paziente_));
    r->Imposta("IDRif2", host::Variant(righe->Field("t1").ToText()));
    records.push_back(std::move(r));
  }
  return records;
}

}  // namespace qzkiro::refhost
