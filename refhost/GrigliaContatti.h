#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "qzkiro/host/Contatti.h"
#include "refhost/Ricetta.h"

namespace qzkiro::refhost {

// One row of the contacts grid (host::IRecordContatto): the contact's and
// its patient's properties, "" until written.
class RecordContatto : public host::IRecordContatto {
 public:
  RecordContatto();
  explicit RecordContatto(const std::map<std::string, std::string>& valori);
  host::Variant Membro(const std::string& nome) override { return valori_.Leggi(nome); }
  void Imposta(const std::string& nome, const host::Variant& valore) override {
    valori_.Scrivi(nome, valore);
  }

 private:
  ValoriProprieta valori_;
};

// The grid of contacts the host shows before the contact flow is sent.
class GrigliaContatti : public host::IGrigliaContatti {
 public:
  std::vector<std::shared_ptr<host::IRecordContatto>> Records() override { return records_; }
  void Aggiungi(std::shared_ptr<host::IRecordContatto> record) {
    records_.push_back(std::move(record));
  }

 private:
  std::vector<std::shared_ptr<host::IRecordContatto>> records_;
};

}  // namespace qzkiro::refhost
