// clsCDA2: the lists of observations by document family.

#include <array>
#include <string_view>

#include "cda/RaccoltaCDA.h"
#include "cda/clsCDA2.h"

namespace qzkiro::cda {

namespace {

// The elements the result walk goes through.
constexpr std::array<std::string_view, 8> kDiscesa = {
    "component",         "section",     "entry",       "act",
    "entryrelationship", "entrychoice", "observation", "organizer"};

// The top-level components of the body, under both spellings of the body.
constexpr std::array<std::string_view, 2> kComponenti = {"component/structuredBody/component",
                                                         "component/StructuredBody/component"};

// Sections whose observations are visits: radiology, and also the
// specialist-visit history for SPS.
constexpr std::string_view kSezioneRadiologia = "18782-3";
constexpr std::string_view kSezioneVisite = "11528-7";

std::vector<Nodo> Cammina(Nodo radice, Raccolta cosa) {
  std::vector<Nodo> out;
  for (std::string_view percorso : kComponenti) {
    PerOgni(radice, percorso, [&](Nodo componente) {
      Raccogli(componente, kDiscesa, cosa, out);
      return true;
    });
  }
  return out;
}

// The nodes under `componente` reached through `percorso` that have a "code" child.
bool ConCodice(Nodo componente, std::string_view percorso, std::vector<Nodo>& out) {
  bool trovati = false;
  PerOgni(componente, percorso, [&](Nodo n) {
    if (Figlio(n, "code")) {
      out.push_back(n);
      trovati = true;
    }
    return true;
  });
  return trovati;
}

}  // namespace

std::vector<Nodo> clsCDA2::ListaObservationsLAB() const {
  return Cammina(Radice(), Raccolta::Valori);
}

std::vector<Nodo> clsCDA2::ListaObservationsMedia() const {
  return Cammina(Radice(), Raccolta::Media);
}

std::vector<Nodo> clsCDA2::ListaObservationsRAD() const {
  std::vector<Nodo> out;
  PerOgni(Radice(), "component/structuredBody/component", [&](Nodo componente) {
    if (AttributoDi(componente, "section/code", "code") == kSezioneRadiologia) {
      ConCodice(componente, "section/entry/act/entryRelationship/observation", out);
    }
    return true;
  });
  return out;
}

std::vector<Nodo> clsCDA2::ListaObservationsSPS() const {
  std::vector<Nodo> out;
  PerOgni(Radice(), "component/structuredBody/component", [&](Nodo componente) {
    const std::string codice = AttributoDi(componente, "section/code", "code");
    if (codice != kSezioneVisite && codice != kSezioneRadiologia) return true;
    if (!ConCodice(componente, "section/entry/act/entryRelationship/observation", out)) {
      ConCodice(componente, "section/entry/act/entryRelationship/procedure", out);
    }
    return true;
  });
  return out;
}

}  // namespace qzkiro::cda
