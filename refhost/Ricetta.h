#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "qzkiro/host/Ricetta.h"

namespace qzkiro::refhost {

// A property of a host object with the value it reads until it is written.
struct Proprieta {
  const char* nome;
  host::Variant predefinito;
};

// The values of the properties named in a table. A property never written
// reads its default; a name not in the table throws Failure naming the
// object. A written value keeps the kind it was given (late binding converts
// on use), except objects, which no property holds.
class ValoriProprieta {
 public:
  ValoriProprieta(const char* oggetto, const std::vector<Proprieta>& tabella)
      : oggetto_(oggetto), tabella_(&tabella) {}

  host::Variant Leggi(const std::string& nome) const;
  void Scrivi(const std::string& nome, const host::Variant& valore);
  // {"nome": valore} for every property of the table: Booleans, numbers,
  // texts, null for an empty value.
  nlohmann::json ToJson() const;
  // Replaces the values with those of `json`, defaults for the properties it
  // leaves out; false, changing nothing, when it is not an object of the
  // table's properties with plain values.
  bool FromJson(const nlohmann::json& json);

 private:
  // nullptr when the table has no such property; Cerca throws Failure.
  const Proprieta* Trova(const std::string& nome) const;
  const Proprieta& Cerca(const std::string& nome) const;

  const char* oggetto_;
  const std::vector<Proprieta>* tabella_;
  std::map<std::string, host::Variant> valori_;
};

// A line of a prescription (a drug or a service) with the codes the regional
// catalogues give it as named tags.
class RigaPrescrizione : public host::IRigaPrescrizione {
 public:
  RigaPrescrizione();

  host::Variant Membro(const std::string& nome) override { return valori_.Leggi(nome); }
  void Imposta(const std::string& nome, const host::Variant& valore) override {
    valori_.Scrivi(nome, valore);
  }
  std::string GetTag(const std::string& nome) override;
  // An empty value removes the tag.
  void ImpostaTag(const std::string& nome, const std::string& valore);
  const std::map<std::string, std::string>& Tag() const { return tag_; }

  // The properties as ValoriProprieta gives them, with "Tag": {nome: valore}.
  nlohmann::json ToJson() const;
  // Replaces properties and tags; false, changing nothing, on a wrong shape.
  bool FromJson(const nlohmann::json& json);

 private:
  ValoriProprieta valori_;
  std::map<std::string, std::string> tag_;
};

// The host's prescription: header properties and lines. The header's text
// form is the JSON object of its properties, the lines' one the JSON array
// of the lines.
class Ricetta : public host::IRicetta {
 public:
  Ricetta();
  // The prescription in `file`, {"testata": {...}, "righe": [...]} in the
  // shapes of the text forms. Throws Failure when the file cannot be read or
  // does not hold a prescription.
  static std::shared_ptr<Ricetta> DaFile(const std::filesystem::path& file);

  host::Variant Membro(const std::string& nome) override { return testata_.Leggi(nome); }
  void Imposta(const std::string& nome, const host::Variant& valore) override {
    testata_.Scrivi(nome, valore);
  }
  std::vector<std::shared_ptr<host::IRigaPrescrizione>> ListaPrescrizioni() override;
  // The writers throw Failure when a text value is not UTF-8.
  std::string ToString() override;
  bool FromString(const std::string& testo) override;
  std::string PrescrizioniToString() override;
  bool PrescrizioniFromString(const std::string& testo) override;

  // Adds an empty line after the others.
  std::shared_ptr<RigaPrescrizione> AggiungiPrescrizione();
  const std::vector<std::shared_ptr<RigaPrescrizione>>& Prescrizioni() const { return righe_; }

 private:
  bool RigheDaJson(const nlohmann::json& json);

  ValoriProprieta testata_;
  std::vector<std::shared_ptr<RigaPrescrizione>> righe_;
};

}  // namespace qzkiro::refhost
