#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "qzkiro/host/Flussi.h"
#include "qzkiro/host/Workspace.h"
#include "refhost/Ricetta.h"

namespace qzkiro::refhost {

// A flow of the stand-in host: the flow properties of host::IFlusso, its
// memo and the items it carries. Salva counts the saves.
class Flusso : public host::IFlusso {
 public:
  Flusso();
  host::Variant Membro(const std::string& nome) override { return valori_.Leggi(nome); }
  void Imposta(const std::string& nome, const host::Variant& valore) override {
    valori_.Scrivi(nome, valore);
  }
  void AddMemo(const std::string& chiave, const std::string& valore) override {
    memo_[chiave] = valore;
  }
  host::Collection& DatiRecuperati() override { return dati_; }
  bool Salva() override {
    ++salvataggi_;
    return true;
  }

  const std::map<std::string, std::string>& Memo() const { return memo_; }
  int Salvataggi() const { return salvataggi_; }

 private:
  ValoriProprieta valori_;
  std::map<std::string, std::string> memo_;
  host::Collection dati_;
  int salvataggi_ = 0;
};

// An indicator item of a PA flow (the properties of host::IItemFlussoPA).
class ItemFlussoPA : public host::IItemFlussoPA {
 public:
  ItemFlussoPA();
  host::Variant Membro(const std::string& nome) override { return valori_.Leggi(nome); }
  void Imposta(const std::string& nome, const host::Variant& valore) override {
    valori_.Scrivi(nome, valore);
  }

 private:
  ValoriProprieta valori_;
};

// A local-record item of a care-plan flow (host::IItemFlusso).
class ItemFlusso : public host::IItemFlusso {
 public:
  ItemFlusso();
  host::Variant Membro(const std::string& nome) override { return valori_.Leggi(nome); }
  void Imposta(const std::string& nome, const host::Variant& valore) override {
    valori_.Scrivi(nome, valore);
  }
  std::shared_ptr<host::IRecordWorkspace> itmWs() override { return record_; }
  void ImpostaItmWs(std::shared_ptr<host::IRecordWorkspace> record) override {
    record_ = std::move(record);
  }

 private:
  ValoriProprieta valori_;
  std::shared_ptr<host::IRecordWorkspace> record_;
};

}  // namespace qzkiro::refhost
