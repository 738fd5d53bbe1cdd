#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sandbox/IdentityProvider.h"
#include "sandbox/Sandbox.h"

namespace qzkiro::sandbox {

// One prescription as the services stored it.
struct RicettaRegistrata {
  std::string nre;  // the NRE, or the NRBE of a white prescription
  bool bianca = false;
  std::string cf_medico;
  std::string cf_paziente;  // decrypted; "" when the send carried none
  std::string tipo_ric;
  std::string disp_reg;
  std::string percorso;  // the route the send came in on
  int righe = 0;
  bool annullata = false;
  std::string corpo;  // the send request as received
};

// The national e-prescription services, SOAP 1.1 on POST <radice>/...:
// send, cancel and view of red prescriptions (InvioPrescritto, also on the
// ...Eco and ...Ermete routes), send and cancel of white ones
// (...RicettaBianca). As strict as the real services: a request must be
// text/xml with its service's SOAPAction, and conform to the public schemas
// (SOAP 1.1 envelope, WS-Security header, SAML assertion, the national kit's
// request, with the exceptions listed in Conformita.cpp); white requests have
// no public schema, so only their envelope and header are validated. Any
// violation is answered with a SOAP fault naming it. Every request must carry
// a SAML assertion in its WS-Security header, else the answer is a fault. Patient codes arrive
// encrypted with the certificate whose private key is `chiave_fse`.
// Prescriptions stay in memory; the routes keep working after this object is
// gone. Scripts and the record may be used from any thread.
class ServiziRicetta {
 public:
  // What the next red send answers instead of the normal outcome.
  enum class Esito {
    kAppropriatezza,     // error 9 on every send until one comes with dispReg "9..."
    kTimeout,            // codEsitoInserimento 1111, no NRE
    kErrori,             // 2222 with two errors and two messages (one a link)
    kAvviso7237,         // 0000 with warnings 7237 (print the reminder) and 1169
    kAvvisoGenerico,     // 0000 with warning 4001
    kAsserzioneScaduta,  // 2222 with error 7007
    kFault,              // HTTP 500 with a SOAP fault
  };
  // What the next cancel (red or white) answers.
  enum class EsitoAnnullamento {
    kNonBloccante,  // cancels, answering 2222 with the non-blocking warning 4010
    k1120,          // cancels, answering "already cancelled" (1120)
  };

  // With `idp`, assertions must be ones it issued. Requests are validated
  // against the public schemas found in `cartella_schemi` (by default
  // Schemi::CartellaPredefinita()); without them they are not.
  ServiziRicetta(Sandbox& sandbox, std::filesystem::path chiave_fse, std::string radice = "/dem",
                 const IdentityProvider* idp = nullptr,
                 const std::optional<std::filesystem::path>& cartella_schemi = std::nullopt);

  const std::string& Radice() const { return radice_; }
  // The requests are validated against the public schemas.
  bool Validazione() const;
  // The SOAPAction a service ("AnnullaPrescritto") requires; "" for an unknown one.
  static std::string_view Azione(std::string_view servizio);

  // Queues one outcome; queued outcomes apply in order, one per request.
  void Programma(Esito esito);
  void ProgrammaAnnullamento(EsitoAnnullamento esito);

  // Every prescription stored so far, in order of arrival.
  std::vector<RicettaRegistrata> Ricette() const;
  std::optional<RicettaRegistrata> Ricetta(std::string_view nre) const;

 private:
  struct Stato;
  std::shared_ptr<Stato> stato_;
  std::string radice_;
};

}  // namespace qzkiro::sandbox
