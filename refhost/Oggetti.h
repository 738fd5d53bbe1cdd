#pragma once

#include <map>
#include <string>

#include "qzkiro/Failure.h"
#include "qzkiro/host/Membri.h"
#include "qzkiro/host/Notifica.h"

namespace qzkiro::refhost {

// A notification as the host keeps it.
class Notifica : public host::INotifica {
 public:
  Notifica(std::string t1, std::string id_rif1, std::string id_rif2, std::string descrizione)
      : t1_(std::move(t1)),
        id_rif1_(std::move(id_rif1)),
        id_rif2_(std::move(id_rif2)),
        descrizione_(std::move(descrizione)) {}
  std::string t1() override { return t1_; }
  std::string IDRif1() override { return id_rif1_; }
  std::string IDRif2() override { return id_rif2_; }
  std::string Descrizione() override { return descrizione_; }

 private:
  std::string t1_, id_rif1_, id_rif2_, descrizione_;
};

// A host object whose members are a set of named values.
class Membri : public host::IMembri {
 public:
  void Imposta(const std::string& nome, host::Variant valore) { membri_[nome] = std::move(valore); }
  host::Variant Membro(const std::string& nome) override {
    auto it = membri_.find(nome);
    if (it == membri_.end()) {
      throw Failure(kMembroNonSupportato, "L'oggetto non ha il membro " + nome);
    }
    return it->second;
  }

 private:
  std::map<std::string, host::Variant> membri_;
};

}  // namespace qzkiro::refhost
