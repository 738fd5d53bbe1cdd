#include "fhir/Ricevuta.h"

#include <vector>

#include "util/Testo.h"

namespace qzkiro::fhir {

std::string Ricevuta(std::string_view tipo, std::string_view id) {
  return std::string(tipo) + std::string(kSeparatoreRicevuta) + std::string(id);
}

RicevutaLetta LeggiRicevuta(std::string_view ricevuta, std::string_view tipo) {
  const std::string testo = util::Trim(ricevuta);
  const auto separatore = testo.find(kSeparatoreRicevuta);
  if (separatore == std::string::npos || testo.substr(0, separatore) != tipo) {
    return {{}, std::string(kRicevutaNonValida)};
  }
  const std::string id = testo.substr(separatore + kSeparatoreRicevuta.size());
  if (id.empty() || id.find('/') != std::string::npos) return {{}, std::string(kRicevutaNonValida)};
  return {id, {}};
}

Posizione LeggiPosizione(std::string_view location) {
  std::string_view testo = location;
  if (const auto domanda = testo.find('?'); domanda != std::string_view::npos) {
    testo = testo.substr(0, domanda);
  }
  std::vector<std::string> parti;
  for (std::size_t inizio = 0; inizio <= testo.size();) {
    const auto barra = testo.find('/', inizio);
    const auto fine = barra == std::string_view::npos ? testo.size() : barra;
    if (fine > inizio) parti.emplace_back(testo.substr(inizio, fine - inizio));
    inizio = fine + 1;
  }
  Posizione p;
  std::size_t n = parti.size();
  if (n >= 4 && parti[n - 2] == "_history") {
    p.Versione = parti[n - 1];
    n -= 2;
  }
  // A resource type begins with a capital letter ("http:" does not).
  if (n < 2 || parti[n - 2][0] < 'A' || parti[n - 2][0] > 'Z') return {};
  p.Tipo = parti[n - 2];
  p.Id = parti[n - 1];
  return p;
}

}  // namespace qzkiro::fhir
