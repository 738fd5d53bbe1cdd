#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sandbox/Sandbox.h"

namespace qzkiro::sandbox {

// One vaccine lot of the regional catalogue.
struct LottoVaccino {
  const char* numero;
  const char* scadenza;  // "yyyy-mm-dd"
  const char* aic;
  const char* princ_vacc;
};

// The catalogue, fixed so the answers are the same on every run: two lots of
// the quadrivalent flu vaccine (active principle "150", two AIC codes) and one
// of the pneumococcal vaccine ("141").
namespace lotti {
inline constexpr LottoVaccino kLotti[] = {
    {"FLU26A", "2027-06-30", "045123019", "150"},
    {"FLU26B", "2027-03-31", "045123021", "150"},
    {"PNE26C", "2028-01-31", "044987012", "141"},
};
}  // namespace lotti

// The regional search of vaccine lots, GET kPercorso?princVacc=...|aic=...
// &organization=urn:oid:2.16.840.1.113883.2.9.4.1.1|<unit>. As strict as the
// real service: its account in HTTP basic authentication (the service keeps
// only its SHA-256; anything else is answered 401 with a Basic challenge); exactly one of princVacc
// and aic, an organization of that system with a 6-digit unit code and no other parameter (else
// 400). The answer lists the lots of the active principle or AIC code, as XML.
class ServizioLottiVaccino {
 public:
  static constexpr const char* kPercorso = "/ricercalotti/infolotti.svc/infolotti";

  // The account the service accepts is given by the SHA-256 of its
  // "user:password" (Impronta); by default the add-on's.
  explicit ServizioLottiVaccino(Sandbox& sandbox, std::string impronta_account = {});

  // The SHA-256 of `account` in lower-case hexadecimal.
  static std::string Impronta(std::string_view account);

  // The lots of the active principle "150" as the add-on's simulator file
  // (path below "Simulatore/", content): CercaLotti.
  static std::vector<std::pair<std::string, std::string>> FileSimulatore();
};

}  // namespace qzkiro::sandbox
