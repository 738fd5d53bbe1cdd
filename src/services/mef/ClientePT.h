#pragma once

#include <string>

namespace qzkiro::mef {

// One of the national therapeutic-plan services: the service name of its
// assertion (also its name in the log and in the simulator), its endpoint
// key, its SOAP action and the message when it sends nothing back.
struct ServizioPT {
  const char* nome;
  const char* chiave;
  const char* azione;
  const char* nessuna_risposta;
};

namespace pt {
extern const ServizioPT kElenco;
extern const ServizioPT kVisualizza;
}  // namespace pt

// What one exchange gave: the answer, or the user's text of its failure.
struct ScambioPT {
  bool riuscito = false;
  std::string risposta;
  std::string errore;
};

// Sends `busta` to the service with the user's assertion (context "C.1.1"),
// the national services' client certificate and the SOAP dump file. Nothing
// back (no connection, or an empty answer) fails with the service's
// `nessuna_risposta`; a time-out and a refusal with the transport's text.
ScambioPT ChiamaPT(const ServizioPT& servizio, const std::string& busta);

// The patient's fiscal code encrypted with the patient-data certificate
// ("\fse.cer" in the add-on's folder); "" when it cannot be encrypted.
std::string CifraAssistito(const std::string& codice_fiscale);

}  // namespace qzkiro::mef
