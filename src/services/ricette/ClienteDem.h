#pragma once

#include <memory>
#include <string>

#include "qzkiro/clsItemAsserzione.h"
#include "qzkiro/host/Ricetta.h"
#include "net/CertificatoDem.h"

namespace qzkiro::services {

// One of the national e-prescription services: its endpoint key in the
// settings, its SOAP action and the service name of its assertion.
struct ServizioDem {
  const char* chiave;
  const char* azione;
  const char* asserzione;
};

namespace dem {
inline constexpr ServizioDem kInvio{
    "invioprescritto", "http://invioprescritto.wsdl.dem.sanita.finanze.it/InvioPrescritto",
    "demInvioPrescritto"};
inline constexpr ServizioDem kInvioBianca{
    "invioprescrittobianca",
    "http://invioprescrittoricettabianca.wsdl.dem.sanita.finanze.it/InvioPrescrittoRicettaBianca",
    "demInvioPrescrittoRicettaBianca"};
inline constexpr ServizioDem kAnnulla{
    "annullaprescritto", "http://annullaprescritto.wsdl.dem.sanita.finanze.it/AnnullaPrescritto",
    "demAnnullaPrescritto"};
inline constexpr ServizioDem kAnnullaBianca{
    "annullaprescrittobianca",
    "http://annullaprescrittoricettabianca.wsdl.dem.sanita.finanze.it/"
    "AnnullaPrescrittoRicettaBianca",
    "demAnnullaPrescrittoRicettaBianca"};
inline constexpr ServizioDem kVisualizza{
    "visualizzaprescritto",
    "http://visualizzaprescritto.wsdl.dem.sanita.finanze.it/VisualizzaPrescritto",
    "visualizzaRicetta"};
}  // namespace dem

// The client certificate of these services: "test/certificatotls" when set,
// else the production certificate in the add-on's folder; and its password.
using net::CertificatoDem;
using net::PasswordCertificatoDem;
// The fiscal code encrypted with the patient-data certificate ("\fse.cer").
std::string CifraFse(const std::string& codice_fiscale);

// The assertion of the prescription's prescriber: context "C.1.1" when the
// prescriber is the holder of the practice, else "C.1.2" (for a substitute,
// on behalf of the holder). Null with the identity service's error in the
// add-on's last error.
std::shared_ptr<clsItemAsserzione> AsserzioneRicetta(const ServizioDem& servizio,
                                                     host::IRicetta& ricetta);
// The user's own assertion ("C.1.1"), with the second factor's token when given.
std::shared_ptr<clsItemAsserzione> AsserzioneUtente(const ServizioDem& servizio,
                                                    const std::string& otp = {});

// One exchange with a service.
struct EsitoDem {
  bool inviata = false;
  bool riprova = false;  // the assertion was renewed: the caller decides whether to send again
  std::string risposta;
  std::string errore;  // the user's text of a failure (ErroreDem)
};
// Sends `busta` to `url` (the service's endpoint when empty) with the
// assertion, the client certificate and the SOAP dump file of debugging.
// After a renewed assertion the transport sends again by itself when
// `riprova`, else the caller gets `riprova` set.
EsitoDem InviaDem(const ServizioDem& servizio, const std::string& busta,
                  clsItemAsserzione& asserzione, const std::string& url = {}, bool riprova = true);

// The fiscal code of the host's user.
std::string CfUtente();

// The user's text of a failed exchange, the same for every service: when the
// kept answer carries an assertion or service error code, the transport has
// already turned it into its message (ERR_00055 reads "ERR_00055 - Data e Ora
// disallineate") or acted on it (renewal, the user's refusal), so its error
// stands; otherwise the faultstring of the answer, else the transport's
// error, else "Errore sconosciuto".
std::string ErroreDem(const std::string& errore_trasporto, const std::string& risposta);

}  // namespace qzkiro::services
