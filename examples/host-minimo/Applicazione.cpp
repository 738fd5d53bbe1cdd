#include "Applicazione.h"

#include <filesystem>

#include <qzkiro/Failure.h>

namespace hostminimo {

namespace {

// What a host says for a member it does not offer: the add-on stops the
// operation and leaves this text in LastError.
[[noreturn]] void NonSupportato(const std::string& membro) {
  throw qzkiro::Failure(qzkiro::kMembroNonSupportato,
                        "host-minimo: " + membro + " non supportato");
}

}  // namespace

std::string ImpostazioniUtente::GetItem(const std::string& key) {
  const auto voce = voci_.find(key);
  return voce == voci_.end() ? std::string() : voce->second;
}

void ImpostazioniUtente::SetItem(const std::string& key, const std::string& value) {
  voci_[key] = value;
}

std::string UtenteMinimo::TempDir() {
  return std::filesystem::temp_directory_path().string();
}

std::string UtenteMinimo::IDSchema() {
  NonSupportato("Utente.IDSchema (nessun database)");
}

qzkiro::host::Variant Applicazione::Setup(const std::string& name) {
  const auto valore = setup_.find(name);
  return valore == setup_.end() ? qzkiro::host::Variant() : valore->second;
}

void Applicazione::SetSetup(const std::string& name, const qzkiro::host::Variant& value) {
  setup_[name] = value;
  scritture_.emplace_back(name, value);
}

void Applicazione::GeneraEvento(const std::string& event, const std::string& value) {
  eventi_.emplace_back(event, value);
}

qzkiro::host::IFramework& Applicazione::Framework() {
  NonSupportato("Framework");
}

qzkiro::host::IRegistry& Applicazione::Registry() {
  NonSupportato("Registry");
}

qzkiro::host::IDB& Applicazione::DB() {
  NonSupportato("DB");
}

qzkiro::host::IBase64& Applicazione::Base64() {
  NonSupportato("Base64");
}

std::shared_ptr<qzkiro::host::IArchivio> Applicazione::Archivio(const std::string& name) {
  if (name == "Esami" || name == "Visite") return catalogo_;
  NonSupportato("Archivio " + name);
}

}  // namespace hostminimo
