#pragma once

#include <iosfwd>
#include <string>

namespace qzkiro::kiro {

// Reads a registry answer (an ITI-18 AdhocQueryResponse, in its SOAP
// envelope or bare) and prints as JSON what the host would receive:
// {"righe": [one object per listed document, with the row's parameters
// "Parametro.formato" ... "Parametro.idRepository"], "errori": [...]}.
// Entries of the types the list leaves out are not shown. Returns 0, or 1
// with the reason on `err` when the file is missing or not XML.
int MostraXds(const std::string& file, std::ostream& out, std::ostream& err);

}  // namespace qzkiro::kiro
