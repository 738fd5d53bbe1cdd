#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sandbox/FseSchemi.h"

namespace qzkiro::sandbox::fse {

// A SOAP 1.2 request to the FSE services, read with the sandbox's own code.
struct RichiestaFse {
  // WS-Addressing headers ("" when absent) and the ID of the SAML assertion
  // in the WS-Security header (nullopt without one).
  std::string azione, message_id, to;
  std::optional<std::string> asserzione;
  std::string radice, ns;  // the body element's local name and namespace

  // AdhocQueryRequest: the stored query, its return type and each slot with
  // its values, quotes and brackets taken away ("('a','b')" gives a, b).
  std::string query, tipo_risposta;
  std::vector<std::pair<std::string, std::vector<std::string>>> parametri;
  // RetrieveDocumentSetRequest: (repository, document) of each DocumentRequest.
  std::vector<std::pair<std::string, std::string>> documenti;
  // QRY_A19: MSH.9 (MSG.1, MSG.2, MSG.3), MSH.10 and every QRF.5 repetition.
  std::string tipo, evento, struttura, id_controllo;
  std::vector<std::string> qrf5;
  // With segment schemas: the first HL7 segment that breaks them, described.
  std::optional<std::string> segmento_non_valido;

  // The values of slot `nome`; null when the request has no such slot.
  const std::vector<std::string>* Parametro(std::string_view nome) const;
};

// nullopt when `corpo` is not a SOAP 1.2 envelope with a body element. No
// network and no entity expansion: the text comes from outside. With
// `schemi`, each segment of an HL7 body is checked against the segment schemas.
std::optional<RichiestaFse> LeggiRichiestaFse(const std::string& corpo,
                                              const FseSchemi* schemi = nullptr);

// The values of a slot's text: "('a','b')", "'a'" or "a".
std::vector<std::string> ValoriSlot(std::string_view testo);

}  // namespace qzkiro::sandbox::fse
