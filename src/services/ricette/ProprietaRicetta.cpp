#include "services/ricette/ProprietaRicetta.h"

#include "util/Testo.h"

namespace qzkiro::services {

bool HaTagErmete(host::IRicetta& ricetta) {
  for (const auto& riga : ricetta.ListaPrescrizioni()) {
    if (!riga->GetTag("Ermete").empty()) return true;
  }
  return false;
}

std::string Minuscolo(const std::string& testo) {
  std::string risultato;
  risultato.reserve(testo.size());
  for (char32_t c : util::CodePoints(testo)) {
    // Latin-1 capitals (also À..Þ except ×) are 0x20 below their small letters.
    const bool maiuscola = (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7);
    util::AppendUtf8(risultato, maiuscola ? c + 0x20 : c);
  }
  return risultato;
}

std::string Sinistra(const std::string& testo, std::size_t caratteri) {
  const std::u32string punti = util::CodePoints(testo);
  if (punti.size() <= caratteri) return testo;
  std::string risultato;
  for (std::size_t i = 0; i < caratteri; ++i) util::AppendUtf8(risultato, punti[i]);
  return risultato;
}

}  // namespace qzkiro::services
