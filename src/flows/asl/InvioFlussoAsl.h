#pragma once

#include <string>
#include <vector>

#include "flows/asl/ContattiAsl.h"

namespace qzkiro::asl {

// The path of the flow web service on the unit's server.
inline constexpr const char* kPercorsoServizioFlussi =
    "/FlussoContattiMMGws/services/FlussoMMGWSImplService.FlussoMMGWSPort";

// The SOAP 1.1 request of the contact file: `dati_base64` is the file in
// Base64 broken into lines.
std::string BustaInvioFlusso(const std::string& dati_base64, const std::string& nome_file,
                             const std::string& username, const std::string& password);
// The SOAP 1.1 request of the PDTA indicators: `file` travels as the text of
// its element, so the service reads back exactly the text given.
std::string BustaInvioPdta(const std::string& cf_medico, const std::string& username,
                           const std::string& password, const std::string& id_file,
                           const std::string& file);

// What the service answered: "Body/<operazione>Response/return" with its
// code, description and every error description.
struct EsitoFlussoAsl {
  bool letto = false;  // false: the answer is not XML
  std::string codice;
  std::string descrizione;
  std::vector<std::string> errori;
  // Accepted: code "0" and no error listed.
  bool Accettato() const;
  // The user's message of a refusal: the description (or the code), each
  // error on its own line, then "File di origine: " and the file.
  std::string Messaggio(const std::string& file_origine) const;
};
// `operazione`: "invioFlusso" or "invioPdta".
EsitoFlussoAsl LeggiEsitoFlussoAsl(const std::string& risposta, const std::string& operazione);

inline constexpr const char* kRispostaNonValida =
    "ERRORE: La richiesta SOAP ha restituito una risposta non valida";

// Sends a request to the unit's flow service (with the e-prescription
// client certificate for the unit's own service) under the log label
// `etichetta` ("InvioACN", "InvioPDTA") and reads the answer. A transport
// failure, or an error status whose body is no answer of the service (a SOAP
// fault, a proxy's page), gives the transport's message in `errore`.
struct ScambioFlussi {
  std::string errore;
  EsitoFlussoAsl esito;
};
ScambioFlussi InviaAlServizioFlussi(ServizioAsl servizio, const std::string& etichetta,
                                    const std::string& busta, const std::string& operazione);

// The unit's server of each service: the settings' "client/flussoasl" (the
// regional one) and "client/flussoasl050103".
std::string IndirizzoServizioFlussi(ServizioAsl servizio);

}  // namespace qzkiro::asl
