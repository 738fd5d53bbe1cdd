#include "core/TrasportoHttp.h"

#include <algorithm>
#include <cctype>

namespace qzkiro::core {

namespace {

std::string Cerca(const std::vector<std::pair<std::string, std::string>>& intestazioni,
                  std::string_view nome) {
  auto uguale = [&](const std::string& candidato) {
    return std::equal(candidato.begin(), candidato.end(), nome.begin(), nome.end(),
                      [](char a, char b) {
                        return std::tolower(static_cast<unsigned char>(a)) ==
                               std::tolower(static_cast<unsigned char>(b));
                      });
  };
  for (const auto& [chiave, valore] : intestazioni) {
    if (uguale(chiave)) return valore;
  }
  return {};
}

}  // namespace

std::string RichiestaHttp::Intestazione(std::string_view nome) const {
  return Cerca(intestazioni, nome);
}

std::string RispostaHttp::Intestazione(std::string_view nome) const {
  return Cerca(intestazioni, nome);
}

}  // namespace qzkiro::core
