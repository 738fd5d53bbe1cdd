#include "sandbox/Scambio.h"

#include <strings.h>

namespace qzkiro::sandbox {

std::string CercaIntestazione(const Intestazioni& intestazioni, std::string_view nome) {
  for (const auto& [chiave, valore] : intestazioni) {
    if (chiave.size() == nome.size() && strncasecmp(chiave.data(), nome.data(), nome.size()) == 0) {
      return valore;
    }
  }
  return {};
}

std::string EscapeXml(std::string_view testo) {
  std::string esito;
  esito.reserve(testo.size());
  for (char c : testo) {
    switch (c) {
      case '&':
        esito += "&amp;";
        break;
      case '<':
        esito += "&lt;";
        break;
      case '>':
        esito += "&gt;";
        break;
      case '"':
        esito += "&quot;";
        break;
      case '\'':
        esito += "&apos;";
        break;
      default:
        esito += c;
    }
  }
  return esito;
}

}  // namespace qzkiro::sandbox
