#pragma once

#include <optional>
#include <string>

namespace qzkiro::ivaq {

// The content of the IVAQ document's "FlussoIVAQC" element as written: from
// the first ">" after "<FlussoIVAQC" to just before "</FlussoIVAQC"; nullopt
// when the document has no such element.
std::optional<std::string> ContenutoFlusso(const std::string& documento);

// The SOAP 1.2 envelope of a send: the "[Asserzione]" placeholder in the
// WS-Security header, the message id and the regional addressee in the
// WS-Addressing headers, `contenuto` inside "urn:FlussoIVAQC" whose default
// namespace is the flow's ("urn:rve:indiceivaqc").
std::string BustaIvaq(const std::string& contenuto, const std::string& message_id);

// How the service answered.
struct EsitoIvaq {
  enum class Tipo {
    kAccettato,    // codEsito "0000"
    kRifiutato,    // another outcome code, with its errors and messages
    kFault,        // a SOAP fault
    kVuota,        // nothing at all
    kIlleggibile,  // not XML, or XML without the receipt
  };
  Tipo tipo = Tipo::kIlleggibile;
  std::string testo;  // the user's text of anything but kAccettato
};

// Reads an answer (or the body of a failed exchange); never fails.
EsitoIvaq LeggiRispostaIvaq(const std::string& risposta);

}  // namespace qzkiro::ivaq
