// Reads any bytes as the answer of the identity provider and of the
// e-prescription services: the authentication and password-change readers,
// the red prescription's receipt, and the fault and error-code decoders every
// failed exchange goes through. Nothing is sent: only the readers run.

#include <cstddef>
#include <cstdint>
#include <string>

#include "net/ErroriServizio.h"
#include "net/MessaggiIdentita.h"
#include "qzkiro/clsItemAsserzione.h"
#include "services/ricette/ClienteDem.h"
#include "services/ricette/RicevutaRicetta.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string risposta(reinterpret_cast<const char*>(data), size);
  qzkiro::clsItemAsserzione item;
  qzkiro::net::LeggiRispostaAutenticazione(risposta, item);
  std::string errore;
  qzkiro::net::LeggiRispostaAggiornaPassword(risposta, errore);
  qzkiro::services::RicevutaRossa ricevuta;
  if (qzkiro::services::LeggiRicevutaRossa(risposta, ricevuta, errore)) {
    ricevuta.Messaggi();
    ricevuta.Appropriatezza();
  }
  qzkiro::net::DecodificaErroreAsserzione(risposta);
  qzkiro::net::EstraiFault(risposta, "500");
  qzkiro::net::EstraiFault(risposta, "500", true);
  qzkiro::services::ErroreDem("Errore HTTP 500", risposta);
  qzkiro::net::DividiUrl(risposta);
  return 0;
}
