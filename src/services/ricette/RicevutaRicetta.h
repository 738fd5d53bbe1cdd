#pragma once

#include <string>
#include <vector>

namespace qzkiro::services {

// One "ErroreRicetta" of a receipt.
struct ErroreRicetta {
  std::string codice;  // codEsito
  std::string esito;
  std::string tipo;  // tipoErrore ("Bloccante", "Non bloccante", ...)
};

// What a red prescription's receipt says.
struct RicevutaRossa {
  std::string codice;  // codEsitoInserimento
  std::string nre;
  std::string autenticazione;
  std::vector<ErroreRicetta> errori;
  // The communications' messages; a link ("URL") is already a hyperlink.
  std::vector<std::string> comunicazioni;

  // Code "9" among the errors: the appropriateness warning.
  bool Appropriatezza() const;
  // The errors ("codice - esito") and the communications, one per line.
  std::string Messaggi() const;
};

// Reads the answer of InvioPrescritto; false with the user's message in
// `errore` when it is empty or not XML.
bool LeggiRicevutaRossa(const std::string& risposta, RicevutaRossa& ricevuta, std::string& errore);

// A communication's link as the services send it (percent-encoded) made into
// the host's hyperlink markup.
std::string CollegamentoComunicazione(const std::string& codificato);

}  // namespace qzkiro::services
