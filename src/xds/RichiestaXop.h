#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qzkiro::xds {

// A document carried beside the envelope.
struct AllegatoXop {
  std::string nome;  // the part's name: its Content-ID and attachment name
  std::string xml;   // the document, serialised without prolog
};

// An HTTP request ready for the transport: method, headers and body.
struct RichiestaHttpXop {
  std::string metodo = "POST";
  std::vector<std::pair<std::string, std::string>> intestazioni;
  std::string corpo;
};

// The Content-ID of the root part (the envelope), the same in every request.
inline constexpr std::string_view kIdParteRadice = "<root.message@qzkiro.it>";

// The MTOM/XOP multipart/related request of a ProvideAndRegisterDocumentSet-b:
// the envelope, with `asserzione` in place of "[Asserzione]" (letter case
// counts), as the root part; then one part per document, in order. The
// documents travel as 7-bit US-ASCII: characters beyond ASCII are written as
// character references, which leaves each document the same XML. The
// boundary occurs in no part.
RichiestaHttpXop RichiestaXop(std::string_view busta, std::string_view asserzione,
                              const std::vector<AllegatoXop>& allegati);

}  // namespace qzkiro::xds
