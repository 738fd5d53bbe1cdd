#include "cda/IndiciCDA.h"

#include <algorithm>
#include <vector>

#include "cda/NarrativaCDA.h"

namespace qzkiro::cda {

void IndiciCDA::Svuota() {
  per_id_.clear();
  prelievi_.clear();
  narrative_.clear();
}

Nodo IndiciCDA::ElementoConID(Nodo corpo, const std::string& id) {
  if (!corpo) return nullptr;
  auto [voce, nuova] = per_id_.try_emplace(corpo);
  if (nuova) {
    // Every element below the body, in document order; the first one with an
    // identifier keeps it. Iterative, so a deep document cannot exhaust the stack.
    std::vector<Nodo> da_visitare{corpo};
    while (!da_visitare.empty()) {
      Nodo n = da_visitare.back();
      da_visitare.pop_back();
      if (n != corpo) {
        if (std::string proprio = Attributo(n, "ID"); !proprio.empty()) {
          voce->second.try_emplace(std::move(proprio), n);
        }
      }
      // The children go on the stack last first, so the first is visited next.
      const auto primo_figlio = da_visitare.size();
      for (Nodo c : util::clsXML::Figli(n)) da_visitare.push_back(c);
      std::reverse(da_visitare.begin() + static_cast<std::ptrdiff_t>(primo_figlio),
                   da_visitare.end());
    }
  }
  auto trovato = voce->second.find(id);
  return trovato == voce->second.end() ? nullptr : trovato->second;
}

std::string IndiciCDA::OraPrelievo(Nodo padre, const std::string& id) {
  if (!padre) return {};
  auto [voce, nuova] = prelievi_.try_emplace(padre);
  if (nuova) {
    for (Nodo c : util::clsXML::Figli(padre)) {
      if (!HaNome(c, "entryRelationship")) continue;
      std::string campione = AttributoDi(c, "act/specimen/specimenRole/id", "extension");
      if (campione.empty()) continue;
      voce->second.try_emplace(std::move(campione), AttributoDi(c, "act/effectiveTime", "value"));
    }
  }
  auto trovato = voce->second.find(id);
  return trovato == voce->second.end() ? std::string() : trovato->second;
}

const std::string& IndiciCDA::NarrativaHtml(Nodo n) {
  auto [voce, nuova] = narrative_.try_emplace(n);
  if (nuova) voce->second = cda::NarrativaHtml(n);
  return voce->second;
}

}  // namespace qzkiro::cda
