#pragma once

#include <string>
#include <string_view>

#include "fhir/CodiciFhir.h"
#include "util/DataOra.h"
#include "util/clsXML.h"

namespace qzkiro::fhir {

// The small vocabulary every Bundle builder writes FHIR XML with: each
// primitive as an element whose "value" attribute holds it, left out when
// the value is empty, so that no empty element reaches the server.
class ScritturaFhir {
 public:
  using Nodo = util::clsXML::Nodo;

  // Starts `xml` as a new document: the prolog and a Bundle of `tipo`
  // ("transaction") in the FHIR namespace. Returns the Bundle element.
  static Nodo NuovoBundle(util::clsXML& xml, std::string_view tipo);

  explicit ScritturaFhir(util::clsXML& xml) : x_(xml) {}

  // A complex element, always written.
  Nodo E(Nodo padre, const std::string& nome);
  // <nome value="valore"/>, nothing when the value is empty.
  Nodo V(Nodo padre, const std::string& nome, std::string_view valore);
  // <nome><coding>system, code, display</coding></nome> (a CodeableConcept);
  // nothing when the coding is empty.
  Nodo Concetto(Nodo padre, const std::string& nome, const Codifica& codifica);
  // <coding> system, code, display inside `padre`.
  Nodo Coding(Nodo padre, const Codifica& codifica, const std::string& nome = "coding");
  // <nome><reference value="riferimento"/></nome>.
  Nodo Riferimento(Nodo padre, const std::string& nome, std::string_view riferimento);
  // <identifier> with its use (when given), system and value.
  Nodo Identificativo(Nodo padre, std::string_view uso, std::string_view sistema,
                      std::string_view valore);
  // <extension url="url"> holding value<tipo>: "valueCoding" for a coding,
  // "valueString" for a text.
  Nodo EstensioneCodifica(Nodo padre, const std::string& url, const Codifica& codifica);
  Nodo EstensioneTesto(Nodo padre, const std::string& url, std::string_view testo);

  // One Bundle entry: fullUrl, the resource element of `tipo` (returned, to
  // be filled by the caller), then the request with its method and url.
  Nodo Voce(Nodo bundle, std::string_view full_url, const std::string& tipo,
            std::string_view metodo, std::string_view url);

  util::clsXML& Xml() { return x_; }

 private:
  util::clsXML& x_;
};

// "urn:uuid:" + the GUID in lower case, without braces.
std::string UrnUuid(std::string_view guid);
// A UTC moment as a FHIR instant: "yyyy-mm-ddThh:nn:ssZ".
std::string IstanteUtc(const util::DataOra& utc);
// A host date "yyyymmdd[...]" as a FHIR date "yyyy-mm-dd"; a text that is no
// such date is returned as it is (it may already be a FHIR date).
std::string DataFhir(std::string_view data_host);
// A decimal as FHIR writes it: blanks trimmed, a decimal comma as a point.
std::string DecimaleFhir(std::string_view numero);

}  // namespace qzkiro::fhir
