#pragma once

#include <string>
#include <string_view>

#include "cda/NodiCDA.h"

namespace qzkiro::cda::intestazione {

// Header values both CDA readers read alike, from the document element.

// "<persona>/name/family" + " " + "<persona>/name/given", trimmed.
std::string NomeCompleto(Nodo radice, std::string_view persona);
// The extensions of the regional prescription orders among
// "inFulfillmentOf/order/id", joined by ",".
std::string IDPrescrizione(Nodo radice);
// The id of the document this one replaces ("relatedDocument" of type
// "RPLC"); "" when it replaces none.
std::string IDDocumentoSostituito(Nodo radice);

}  // namespace qzkiro::cda::intestazione
