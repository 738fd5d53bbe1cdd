#include "core/Cartelle.h"

#include <dlfcn.h>

#include <cstdlib>

#include "util/Testo.h"

namespace qzkiro::core {

std::filesystem::path CartellaPlugin() {
  if (const char* home = std::getenv("QZKIRO_HOME"); home && *home) return home;
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&CartellaPlugin), &info) != 0 && info.dli_fname) {
    return std::filesystem::absolute(info.dli_fname).parent_path();
  }
  return std::filesystem::current_path();
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
