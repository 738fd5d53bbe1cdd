#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "hl7/clsHL7.h"
#include "qzkiro/host/Input.h"
#include "qzkiro/host/Variant.h"

namespace qzkiro::regione {

using hl7::clsHL7;

// The regional HL7 services: the code the host service is called with and
// the name prefix of the answer's messages.
struct ServizioRegionale {
  std::string_view codice;
  std::string_view prefisso;  // "" when the answer is not read
};

namespace servizio {
inline constexpr ServizioRegionale kSAIN{"SAIN", "DOC_T12."};
inline constexpr ServizioRegionale kSAIA{"SAIA", "ADR_A19."};
inline constexpr ServizioRegionale kSARR{"SARR", "DOC_T12."};
inline constexpr ServizioRegionale kSARRePS{"SARRePS", "DOC_T12."};
inline constexpr ServizioRegionale kSARIR{"SARIR", "ADR_A19."};
inline constexpr ServizioRegionale kSAASN{"SAASN", ""};
}  // namespace servizio

// Handles one message of interest of the answer; the reader is positioned on
// it. Returns whether the message counts as handled.
using GestoreMessaggio = std::function<bool(clsHL7& messaggio, host::IInput& risultato)>;

// What every regional service does: the template gets "Versione", the last
// response is released, the template's text is sent to the service on
// behalf of the user; then (for services with answers) the last response
// becomes a new result container and each child of the answer whose name
// starts with the service's prefix is handed to `gestore`, letting the host
// window breathe after each one. False when the send failed (the last error
// says why); otherwise true, or for `serve_gestito` whether at least one
// message was handled.
bool EseguiServizio(const ServizioRegionale& servizio, host::Variant& Template,
                    const GestoreMessaggio& gestore = {}, bool serve_gestito = false);

}  // namespace qzkiro::regione
