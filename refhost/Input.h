#pragma once

#include <map>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "qzkiro/host/Input.h"

namespace qzkiro::refhost {

// A record created by a result container's Add… member (AddPaziente, ...).
// Like the host's records it is an XML node whose children the add-on may
// set (the admission's "appuntiRTF").
class RecordInput : public host::IRecordXML {
 public:
  explicit RecordInput(int numero) : numero_(numero) {}
  int Numero() const { return numero_; }

  void ImpostaFiglio(const std::string& nome, const std::string& testo) override {
    figli_[nome] = testo;
  }
  std::string Figlio(const std::string& nome) const override {
    auto it = figli_.find(nome);
    return it == figli_.end() ? std::string() : it->second;
  }
  const std::map<std::string, std::string>& Figli() const { return figli_; }

 private:
  int numero_;
  std::map<std::string, std::string> figli_;
};

// A result container that records every Add… call with its arguments, in
// order. Members whose name is in kMembriCheCreano return a new record that
// later calls can pass back; the dump shows records as {"record": n}.
class Input : public host::IInput {
 public:
  struct Chiamata {
    std::string membro;
    std::vector<host::Variant> argomenti;
  };

  host::Variant Add(const std::string& member, const std::vector<host::Variant>& args) override;

  const std::vector<Chiamata>& Chiamate() const { return chiamate_; }
  // The record numbered `numero` (from 1); null when there is none.
  std::shared_ptr<RecordInput> Record(int numero) const;
  // [{"member": "AddPaziente", "args": [...], "record": 1, "children": {...}}, ...]
  nlohmann::json ToJson() const;

 private:
  std::vector<Chiamata> chiamate_;
  std::vector<int> record_creati_;  // per call: the record it created, 0 when none
  std::vector<std::shared_ptr<RecordInput>> record_;
};

}  // namespace qzkiro::refhost
