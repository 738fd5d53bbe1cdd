#include "services/ermete/ScritturaErmete.h"

#include <exception>

namespace qzkiro::ermete {

namespace {

void Inserisci(host::IDB& db, const RigaErmete& riga, const std::string& adesso) {
  auto record = db.OpenRecord(kTabellaErmete);
  for (std::size_t i = 0; i < riga.size(); ++i) {
    const bool nulla = i == kColonnaData && riga[i].empty();
    record->SetField(kColonneErmete[i], nulla ? host::Variant() : host::Variant(riga[i]));
  }
  record->SetField("lastupdate", adesso);
  record->Update();
}

}  // namespace

void ScriviCatalogoErmete(host::IDB& db, const std::vector<RigaErmete>& righe,
                          const std::string& adesso) {
  db.BeginTrans();
  try {
    db.Execute(kCreaTabellaErmete);
    for (const RigaErmete& riga : righe) Inserisci(db, riga, adesso);
  } catch (...) {
    try {
      db.RollbackTrans();
    } catch (const std::exception&) {
      // the first failure is the one worth telling
    }
    throw;
  }
  db.CommitTrans();
}

}  // namespace qzkiro::ermete
