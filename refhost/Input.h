#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "qzkiro/host/Input.h"

namespace qzkiro::refhost {

// A record created by a result container's Add… member (AddPaziente, ...).
class RecordInput : public host::Object {
 public:
  explicit RecordInput(int numero) : numero_(numero) {}
  int Numero() const { return numero_; }

 private:
  int numero_;
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
  // [{"member": "AddPaziente", "args": [...], "record": 1}, ...]
  nlohmann::json ToJson() const;

 private:
  std::vector<Chiamata> chiamate_;
  std::vector<int> record_creati_;  // per call: the record it created, 0 when none
};

}  // namespace qzkiro::refhost
