#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "sandbox/IdentityProvider.h"
#include "sandbox/Sandbox.h"

namespace qzkiro::sandbox {

// One IVAQ flow the service accepted.
struct FlussoIvaqRicevuto {
  std::string message_id;  // the request's wsa:MessageID
  std::string id_flusso;   // the service's number for it
  // The local names of the FlussoIVAQC element's children, in order.
  std::vector<std::string> elementi;
};

// The regional IVAQ quality-index service, SOAP 1.2 on POST `percorso`. As
// strict as the real service: application/soap+xml; the envelope,
// WS-Addressing, WS-Security and SAML assertion conform to the public
// schemas (when they are there); wsa:MessageID is "urn:uuid:" and a
// lower-case UUID, wsa:To "http://SAR"; the assertion is one `idp` issued;
// the Body holds one "FlussoIVAQC" of namespace "urn:rve:indiceivaqc" whose
// elements are all in that namespace (the flow has no public schema).
// Violations are answered with a SOAP 1.2 fault (Code, Reason and
// Detail/error/code and text); a flow without data with codEsito 2222 and
// its error; an accepted flow with codEsito 0000. The route keeps working
// after this object is gone.
class ServizioIvaq {
 public:
  // What the next request answers once it is read.
  enum class Esito {
    kErrori,  // codEsito 2222 with two errors and a message
    kFault,   // status 500 with a SOAP 1.2 receiver fault and its detail
    kVuota,   // status 200 and no body
  };

  explicit ServizioIvaq(Sandbox& sandbox, std::string percorso = "/ivaq",
                        const IdentityProvider* idp = nullptr,
                        const std::optional<std::filesystem::path>& cartella_schemi = std::nullopt);

  const std::string& Percorso() const { return percorso_; }
  void Programma(Esito esito);
  std::vector<FlussoIvaqRicevuto> Flussi() const;

  // The answer to an accepted flow as the add-on's simulator file (path
  // below "Simulatore/", content): IVAQ.
  static std::vector<std::pair<std::string, std::string>> FileSimulatore();

 private:
  struct Stato;
  std::shared_ptr<Stato> stato_;
  std::string percorso_;
};

}  // namespace qzkiro::sandbox
