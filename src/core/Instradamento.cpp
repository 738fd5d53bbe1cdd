#include "core/Instradamento.h"

#include <string_view>

namespace qzkiro::core {

const char* ServizioNotifica(const std::string& tipo) {
  struct Voce {
    std::string_view tipo;
    const char* servizio;
  };
  static constexpr Voce kTipi[] = {
      {"RIC", "SARIR"},   {"DIM", "SARIR"}, {"DLE", "SARIR"}, {"DRI", "SARIR"},
      {"LEA", "SARIR"},   {"LED", "SARIR"}, {"LES", "SARIR"}, {"NPS", "SARRePS"},
      {"NSP", "SARRePS"}, {"REF", "SARR"},  {"SRF", "SARR"},
  };
  for (const auto& voce : kTipi) {
    if (voce.tipo == tipo) return voce.servizio;
  }
  return nullptr;
}

}  // namespace qzkiro::core
