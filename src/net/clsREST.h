#pragma once

#include <string>

#include "net/Trasporto.h"

namespace qzkiro::net {

// The REST client of the FHIR services: GET, POST or PUT to URL.
class clsREST : public Trasporto {
 public:
  std::string Token;  // the "Authorization" header, when set
  std::string Method = "POST";
  std::string Accept;  // default "application/fhir+xml"

  bool Send(const std::string& XML);
  // Sends with Token = "IHE-SAML " + the item's assertion in Base64 (deflated
  // first when `TokenDeflate`), recovering from assertion errors.
  bool SendAsserzione(const std::string& XML, clsItemAsserzione& itmAsserzione, bool Riprova,
                      bool TokenDeflate);
};

}  // namespace qzkiro::net
