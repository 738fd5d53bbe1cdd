#include "qzkiro/host/Componenti.h"

#include <map>
#include <mutex>

namespace qzkiro::host {

namespace {

// The registry of the process, like the platform's registry of ProgIDs.
struct Registro {
  std::mutex mutex;
  std::map<std::string, FabbricaComponente> fabbriche;
};

Registro& Il() {
  static Registro registro;
  return registro;
}

}  // namespace

void RegistraComponente(const std::string& nome, FabbricaComponente fabbrica) {
  std::lock_guard blocco(Il().mutex);
  Il().fabbriche[nome] = std::move(fabbrica);
}

void RimuoviComponente(const std::string& nome) {
  std::lock_guard blocco(Il().mutex);
  Il().fabbriche.erase(nome);
}

std::shared_ptr<Object> CreaComponente(const std::string& nome) {
  FabbricaComponente fabbrica;
  {
    std::lock_guard blocco(Il().mutex);
    auto it = Il().fabbriche.find(nome);
    if (it == Il().fabbriche.end()) return nullptr;
    fabbrica = it->second;
  }
  return fabbrica();
}

}  // namespace qzkiro::host
