#include "core/Cartelle.h"

#include <dlfcn.h>

#include <cstdlib>

#include "util/Testo.h"

namespace qzkiro::core {

std::filesystem::path CartellaPlugin() {
  if (const char* home = std::getenv("QZKIRO_HOME"); home && *home) return home;
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&CartellaPlugin), &info) == 0 || !info.dli_fname) {
    return std::filesystem::current_path();
  }
  const auto cartella = std::filesystem::absolute(info.dli_fname).parent_path();
  return CartellaDati(cartella);
}

std::filesystem::path CartellaDati(const std::filesystem::path& cartella_libreria) {
  // An installed library keeps its files in the system's data folder; a
  // library copied beside its files (as a host ships it) keeps them there.
  std::error_code errore;
  if (!std::filesystem::is_directory(cartella_libreria / "servizi", errore)) {
    const auto installata = (cartella_libreria / QZKIRO_DATI_DA_LIBRERIA).lexically_normal();
    if (std::filesystem::is_directory(installata / "servizi", errore)) return installata;
  }
  return cartella_libreria;
}

std::string PercorsoPlugin(std::string_view nome) {
  std::string relativo(nome);
  for (auto& c : relativo) {
    if (c == '\\') c = '/';
  }
  while (!relativo.empty() && relativo.front() == '/') relativo.erase(0, 1);
  return (CartellaPlugin() / relativo).string();
}

}  // namespace qzkiro::core
