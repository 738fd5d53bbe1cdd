#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "qzkiro/clsItemAsserzione.h"
#include "qzkiro/host/Archivio.h"

namespace qzkiro::fse {

// One service of the regional health record: its name in the log and in the
// simulator, the service and context of its assertion, its endpoint key and
// its SOAP action.
struct ServizioFse {
  const char* nome;
  const char* asserzione;
  const char* chiave;
  std::string_view azione;
  const char* nessuna_risposta;     // the message when nothing comes back
  const char* contesto = nullptr;  // a fixed assertion context; null: by the patient
};

namespace servizio {
extern const ServizioFse kQueryPaziente;
extern const ServizioFse kDocumenti;
extern const ServizioFse kRecupero;
extern const ServizioFse kConsensi;
extern const ServizioFse kPatientSummary;
extern const ServizioFse kProcesso;
}  // namespace servizio

// The assertion context for a patient: "C.1.1" when the patient is one of
// the practice's own and the user is the patient's doctor, "C.1.2" otherwise.
std::string ContestoPaziente(host::IPaziente& paziente, const std::string& cf_utente);

// The assertion of the service for the patient (by fiscal code); null with
// the identity service's error in the add-on's last error.
std::shared_ptr<clsItemAsserzione> AsserzioneFse(const ServizioFse& servizio,
                                                 const std::string& contesto,
                                                 const std::string& cf_paziente);

// One exchange: `corpo` in the service's SOAP 1.2 envelope (prefix
// `prefisso`, addressed To `destinatario` or else the endpoint), sent with
// the assertion, the settings' certificate and proxy. An exchange that
// brings back nothing fails with the service's `nessuna_risposta`.
struct EsitoFse {
  bool inviata = false;
  std::string risposta;
  std::string content_type;  // of the answer
  std::string errore;        // the user's text of a failure
};
EsitoFse InviaFse(const ServizioFse& servizio, std::string_view corpo, clsItemAsserzione& asserzione,
                  std::string_view prefisso = "soap", std::string_view dichiarazioni = {},
                  std::string_view destinatario = {});

// The patient's regional identifier from the item "MPI" ("MPI:" + id); ""
// when the patient has none.
std::string CodiceMPI(host::IPaziente& paziente);
// Stores the identifier in the patient's items and saves them, unless the
// same identifier is already there.
void SalvaCodiceMPI(host::IPaziente& paziente, const std::string& mpi);

}  // namespace qzkiro::fse
