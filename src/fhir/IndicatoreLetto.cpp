#include "fhir/IndicatoreLetto.h"

#include <cmath>
#include <cstdio>

#include "fhir/BundleIndicatori.h"
#include "fhir/EsitoFhir.h"
#include "fhir/LetturaFhir.h"
#include "fhir/Ricevuta.h"
#include "util/NumeroLocale.h"

namespace qzkiro::fhir {

namespace {

using util::clsXML;

IndicatoreLetto Leggi(NodoFhir r) {
  IndicatoreLetto i;
  i.Id = Valore(r, "id");
  i.DataAggiornamento = Valore(r, "meta/lastUpdated");
  i.Gruppo = Valore(r, "identifier/use") == "official" ? kGruppoObbligatori : kGruppoIndicatori;
  i.CatSystem = Valore(r, "category/coding/system");
  i.CatCode = Valore(r, "category/coding/code");
  i.CatDisplay = Valore(r, "category/coding/display");
  i.CodSystem = Valore(r, "code/coding/system");
  i.CodCode = Valore(r, "code/coding/code");
  i.CodDisplay = Valore(r, "code/coding/display");
  i.PeriodStart = Valore(r, "effectivePeriod/start");
  i.PeriodEnd = Valore(r, "effectivePeriod/end");
  i.Method = Valore(r, "method/text");
  i.Numerator = util::NumeroLocale(Valore(r, "valueRatio/numerator/value"));
  i.Denominator = util::NumeroLocale(Valore(r, "valueRatio/denominator/value"));
  i.Value = Percorso(r, "valueRatio") ? ValoreRapporto(i.Numerator, i.Denominator)
                                      : Valore(r, "valueQuantity/value");
  i.Unit = Valore(r, "valueQuantity/unit");
  i.Status = Valore(r, "status");
  i.Comment = Valore(r, "comment");
  if (!i.Id.empty()) i.Ricevuta = Ricevuta("Observation", i.Id);
  return i;
}

// An OperationOutcome's code and display; "" for any other document.
std::string Errori(NodoFhir radice, std::string_view risposta) {
  if (NomeRisorsa(radice) != "OperationOutcome") return {};
  return ErroriOperationOutcome(risposta, FlussoFhir::Indicatori);
}

}  // namespace

std::string ValoreRapporto(double numeratore, double denominatore) {
  if (numeratore == 0 || denominatore == 0) return {};
  const double valore = std::round(numeratore / denominatore * 100) / 100;
  char testo[64];
  std::snprintf(testo, sizeof testo, "%.2f", valore);
  std::string s = testo;
  while (s.back() == '0') s.pop_back();
  if (s.back() == '.') s.pop_back();
  return s;
}

IndicatoriLetti LeggiIndicatore(std::string_view risposta) {
  clsXML xml;
  if (!CaricaRisposta(xml, risposta)) return {std::string(kIndicatoriNonTrovati), {}};
  NodoFhir radice = xml.rootNode();
  if (NomeRisorsa(radice) == "Observation") return {{}, {Leggi(radice)}};
  const std::string errori = Errori(radice, risposta);
  return {errori.empty() ? std::string(kIndicatoriNonTrovati) : errori, {}};
}

IndicatoriLetti LeggiRicercaIndicatori(std::string_view risposta) {
  clsXML xml;
  if (!CaricaRisposta(xml, risposta)) return {std::string(kErroreSconosciuto), {}};
  NodoFhir radice = xml.rootNode();
  if (NomeRisorsa(radice) != "Bundle") {
    const std::string errori = Errori(radice, risposta);
    return {errori.empty() ? std::string(kErroreSconosciuto) : errori, {}};
  }
  IndicatoriLetti letti;
  for (NodoFhir entry : Figli(radice, "entry")) {
    NodoFhir r = RisorsaDellaVoce(entry);
    if (NomeRisorsa(r) == "Observation") letti.Indicatori.push_back(Leggi(r));
  }
  return letti;
}

}  // namespace qzkiro::fhir
