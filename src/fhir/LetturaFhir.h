#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "util/clsXML.h"

namespace qzkiro::fhir {

// Walking a FHIR XML resource by element local names, the way every answer
// reader of this folder does. Null nodes give null, "" or an empty list.
using NodoFhir = util::clsXML::Nodo;

// The first child element named `nome`.
NodoFhir Figlio(NodoFhir padre, std::string_view nome);
// Every child element named `nome`, in document order.
std::vector<NodoFhir> Figli(NodoFhir padre, std::string_view nome);
// The element at a "/"-separated path of first children ("code/coding/code").
NodoFhir Percorso(NodoFhir padre, std::string_view percorso);
// The "value" attribute of the element at `percorso` ("" for the node itself).
std::string Valore(NodoFhir padre, std::string_view percorso);
// The local name of an element ("" for null).
std::string NomeRisorsa(NodoFhir nodo);
// The resource held in an entry: the first child element of entry/resource.
NodoFhir RisorsaDellaVoce(NodoFhir voce);

// The answer's text parsed into `xml`: false when it is not XML at all.
bool CaricaRisposta(util::clsXML& xml, std::string_view testo);

}  // namespace qzkiro::fhir
