#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qzkiro::fhir {

inline constexpr std::string_view kIndicatoriNonTrovati = "Indicatori non trovati";
inline constexpr std::string_view kErroreSconosciuto = "Errore sconosciuto";

// One indicator read back from an Observation (the host's PA flow item).
struct IndicatoreLetto {
  std::string Id;
  std::string DataAggiornamento;  // meta/lastUpdated
  std::string Gruppo;  // "Indicatori obbligatori MGI" for identifier/use "official", else "Indicatori"
  std::string CatSystem, CatCode, CatDisplay;  // category/coding
  std::string CodSystem, CodCode, CodDisplay;  // code/coding
  std::string PeriodStart, PeriodEnd;          // effectivePeriod
  std::string Method;                          // method/text
  double Numerator = 0;                        // valueRatio/numerator/value
  double Denominator = 0;                      // valueRatio/denominator/value
  // valueQuantity/value; for a ratio numerator / denominator rounded to two
  // decimals ("0.33", "2.5"), "" when either is zero.
  std::string Value;
  std::string Unit;  // valueQuantity/unit
  std::string Status;
  std::string Comment;
  std::string Ricevuta;  // "Observation////" + id
  bool Elaborato = true;
};

struct IndicatoriLetti {
  std::string Errore;  // "" on success
  std::vector<IndicatoreLetto> Indicatori;
};

// A read back (GET "/Observation/" + id): an Observation gives one
// indicator; an OperationOutcome its code and display; anything else
// "Indicatori non trovati". Never throws.
IndicatoriLetti LeggiIndicatore(std::string_view risposta);

// A search: every "entry/resource/Observation" of the Bundle; an
// OperationOutcome its code and display; anything else "Errore sconosciuto".
IndicatoriLetti LeggiRicercaIndicatori(std::string_view risposta);

// A ratio as the Value field shows it ("" when either term is zero).
std::string ValoreRapporto(double numeratore, double denominatore);

}  // namespace qzkiro::fhir
