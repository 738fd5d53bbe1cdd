#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "net/Trasporto.h"
#include "util/File.h"

namespace qzkiro::net {

// A request prepared by the caller (for instance a multipart message): Send
// sends it to the host and port of URL instead of posting text.
struct RichiestaPreparata {
  std::string Method = "POST";
  std::string Path;  // set by Send from URL
  std::vector<std::pair<std::string, std::string>> Headers;
  std::string Body;
  // The request as it travels: request line, headers, blank line, body.
  std::string Testo() const;
};

// The SOAP client: posts an envelope to URL and reads the answer.
class clsSOAP : public Trasporto {
 public:
  std::string Action;  // "SOAPAction" header, unless ContentType carries "action="
  std::shared_ptr<RichiestaPreparata> HttpRequest;
  // When set, SendAsserzione builds the prepared request from the assertion
  // of each attempt, so a resend after a renewal carries the new assertion
  // (a prepared request holds the one it was built with).
  std::function<RichiestaPreparata(const clsItemAsserzione&)> PreparaRichiesta;

  bool Send(const std::string& XML);
  bool Send(const util::Bytes& XML);
  // The same exchange with the platform's other HTTP client: its own
  // time-outs, Basic authentication, server certificate errors ignored, and
  // success judged only by the absence of a SOAP fault.
  bool SendCNS(const std::string& XML);
  // Puts the item's assertion in place of every "[Asserzione]" of the
  // envelope and sends it (with SendCNS when `cns`), recovering from the
  // assertion errors the services answer.
  bool SendAsserzione(const std::string& XML, clsItemAsserzione& itmAsserzione, bool cns,
                      bool Riprova);

 private:
  std::vector<std::pair<std::string, std::string>> Intestazioni() const;
  bool InviaTesto(const std::string& XML);
  bool InviaPreparata();
  bool InviaByte(const std::string& corpo);
};

}  // namespace qzkiro::net
