#pragma once

#include <string>
#include <string_view>

namespace qzkiro::fhir {

// A flow's receipt names the resource the server keeps: its type and id
// separated by "////" ("CarePlan////123").
inline constexpr std::string_view kSeparatoreRicevuta = "////";
inline constexpr std::string_view kRicevutaNonValida = "Codice risorsa non valido";

std::string Ricevuta(std::string_view tipo, std::string_view id);

struct RicevutaLetta {
  std::string Id;      // the resource id, "" when the receipt is not valid
  std::string Errore;  // "Codice risorsa non valido", "" when valid

  bool Valida() const { return Errore.empty(); }
};

// Splits a receipt: it must be exactly `tipo`, "////" and a non-empty id
// (blanks around it ignored); anything else gives "Codice risorsa non valido".
RicevutaLetta LeggiRicevuta(std::string_view ricevuta, std::string_view tipo);

// A location of a transaction answer, "CarePlan/123/_history/1" or the
// same behind a server's base address.
struct Posizione {
  std::string Tipo;      // "CarePlan"
  std::string Id;        // "123"
  std::string Versione;  // "1", "" without "_history"
};

// Reads a location; every field is "" when it names no resource.
Posizione LeggiPosizione(std::string_view location);

}  // namespace qzkiro::fhir
