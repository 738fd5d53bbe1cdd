#include "core/AccessoContesto.h"

#include "core/Cartelle.h"
#include "core/Contesto.h"
#include "core/modLog.h"

namespace qzkiro::core {

host::IApplication* AccessoContesto::Applicazione() const {
  return Ctx().app.get();
}

util::DataOra AccessoContesto::Adesso() const {
  return Ctx().orologio->Adesso();
}

std::string AccessoContesto::FileDelPlugin(const std::string& nome) const {
  return PercorsoPlugin(nome);
}

void AccessoContesto::Avviso(const std::string& testo) const {
  if (auto& ui = Ctx().ui) ui->MsgBox(testo, stile::kAvviso, "KIRO");
}

void AccessoContesto::Log(const std::string& titolo, const std::string& dettaglio,
                          bool errore) const {
  modLog::Log(titolo, dettaglio, errore);
}

std::shared_ptr<const host::AccessoHost> AccessoDelContesto() {
  static const auto accesso = std::make_shared<const AccessoContesto>();
  return accesso;
}

}  // namespace qzkiro::core
