#include "cda/RicoveroCDA.h"

#include <string_view>

#include "cda/ValoriCDA.h"

namespace qzkiro::cda {

namespace {

// Sections of a discharge letter that hold the admission and discharge diagnoses.
constexpr std::string_view kDiagnosiRicovero = "46241-6";
constexpr std::string_view kDiagnosiDimissione = "11535-2";
// The encounter code of a day-hospital stay.
constexpr std::string_view kDayHospital = "DH";

bool Blank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

void AggiungiTestoPiano(Nodo n, std::string& out) {
  for (Nodo c : util::clsXML::FigliTutti(n)) {
    if (util::clsXML::Elemento(c)) {
      AggiungiTestoPiano(c, out);
      continue;
    }
    // Text and CDATA; other nodes have no text of their own.
    const std::string_view testo = util::clsXML::TestoProprio(c);
    if (testo.empty()) continue;
    // A new text is apart from the one before.
    bool spazio = !out.empty();
    for (const char ch : testo) {
      if (Blank(ch)) {
        spazio = !out.empty();
        continue;
      }
      if (spazio && out.back() != ' ') out.push_back(' ');
      spazio = false;
      out.push_back(ch);
    }
  }
}

std::string TestoSezione(Nodo radice, std::string_view codice) {
  std::string testo;
  PerOgni(radice, "component/structuredBody/component/section", [&](Nodo sezione) {
    if (AttributoDi(sezione, "code", "code") != codice) return true;
    testo = TestoPiano(Figlio(sezione, "text"));
    return false;
  });
  return testo;
}

}  // namespace

std::string TestoPiano(Nodo n) {
  std::string out;
  AggiungiTestoPiano(n, out);
  return out;
}

std::vector<ValoreRicovero> ValoriRicovero(Nodo radice, const std::string& id_prescrizione) {
  Nodo incontro = Primo(radice, "componentOf/encompassingEncounter");
  Nodo struttura = Figlio(Primo(incontro, "location"), "healthCareFacility");
  return {
      {"IDPrescrizione", id_prescrizione},
      {"DataRicovero", DataOraCompatta(AttributoDi(incontro, "effectiveTime/low", "value"))},
      {"DataDimissione", DataOraCompatta(AttributoDi(incontro, "effectiveTime/high", "value"))},
      {"Struttura", TestoDi(struttura, "serviceProviderOrganization/name")},
      {"Reparto", TestoDi(struttura, "location/name")},
      {"DiagnosiRicovero", TestoSezione(radice, kDiagnosiRicovero)},
      {"DiagnosiDimissione", TestoSezione(radice, kDiagnosiDimissione)},
      {"DayHospital", AttributoDi(incontro, "code", "code") == kDayHospital},
  };
}

}  // namespace qzkiro::cda
