#pragma once

#include <string>
#include <string_view>

namespace qzkiro::xds {

// The WS-Addressing header of a request to the regional record's services.
struct Indirizzamento {
  std::string azione;      // "urn:ihe:iti:2007:RegistryStoredQuery"
  std::string message_id;  // a GUID; written "urn:uuid:" + it in lower case, braces dropped
  std::string to;          // the endpoint
};

// The SOAP 1.2 envelope every request of these services travels in: the
// envelope prefix `prefisso` ("soap", "soapenv") with WS-Addressing ("add")
// and WS-Security ("wsse") declared on it, the header's Action, MessageID,
// ReplyTo (anonymous), To and a Security element holding the "[Asserzione]"
// placeholder that the transport replaces; `corpo` goes into the Body as is.
// `dichiarazioni` are extra attributes of the envelope element, written
// verbatim (" xmlns:x=\"...\"").
std::string BustaSoap12(std::string_view prefisso, const Indirizzamento& indirizzo,
                        std::string_view corpo, std::string_view dichiarazioni = {});

// The HTTP content type that carries the action of a SOAP 1.2 request.
std::string ContentTypeSoap12(std::string_view azione);

}  // namespace qzkiro::xds
