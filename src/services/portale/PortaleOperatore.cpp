#include "services/portale/PortaleOperatore.h"

#include <cstdio>

namespace qzkiro::portale {

namespace {

// RFC 3986: everything but the unreserved characters is percent-encoded.
std::string Codifica(const std::string& testo) {
  std::string codificato;
  for (unsigned char c : testo) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
        c == '.' || c == '_' || c == '~') {
      codificato += static_cast<char>(c);
    } else {
      char esadecimale[4];
      std::snprintf(esadecimale, sizeof esadecimale, "%%%02X", c);
      codificato += esadecimale;
    }
  }
  return codificato;
}

}  // namespace

std::string IndirizzoAccesso(const std::string& indirizzo, const std::string& utente) {
  if (utente.empty()) return indirizzo;
  const auto frammento = indirizzo.find('#');
  std::string base = indirizzo.substr(0, frammento);
  const char separatore = base.find('?') == std::string::npos ? '?' : '&';
  base += separatore;
  base += "username=" + Codifica(utente);
  if (frammento != std::string::npos) base += indirizzo.substr(frammento);
  return base;
}

}  // namespace qzkiro::portale
