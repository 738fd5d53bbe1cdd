#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "sandbox/Hl7.h"
#include "sandbox/Sandbox.h"

namespace qzkiro::sandbox {

// The regional HL7 gateway: POST <radice>/<servizio> with an HL7 v2.5 XML
// message; the answer is an ACK echoing the message's control id, or what the
// service was scripted to answer. Scripts stay until Ripristina. An unreadable
// message gets an ACK with MSA.1 "AR".
class GatewayHl7 {
 public:
  // The answer document of a service that gives more than an ACK.
  using Composizione = std::function<std::string(const MessaggioHl7&, const Richiesta&)>;

  // Registers the routes on `sandbox`; they keep working after this object is gone.
  explicit GatewayHl7(Sandbox& sandbox, std::string radice = "/hl7");

  const std::string& Radice() const { return radice_; }

  // A negative ACK: MSA.1 `esito`, MSA.6 CE.1 `codice` and CE.2 `messaggio`.
  void ImpostaAckNegativo(std::string_view servizio, std::string codice, std::string messaggio,
                          std::string esito = "AE");
  // Header "X-Error-Log: <codice>" with every answer of the service.
  void ImpostaErrorLog(std::string_view servizio, std::string codice);
  // Status 200 with an empty body.
  void ImpostaSenzaCorpo(std::string_view servizio);
  // The service answers with this document instead of the ACK.
  void ImpostaRisposta(std::string_view servizio, Composizione composizione);
  void ImpostaRisposta(std::string_view servizio, std::string documento);
  // Every service back to the positive ACK.
  void Ripristina();

 private:
  struct Stato;
  std::shared_ptr<Stato> stato_;
  std::string radice_;
};

}  // namespace qzkiro::sandbox
