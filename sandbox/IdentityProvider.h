#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sandbox/Sandbox.h"
#include "sandbox/Schemi.h"

namespace qzkiro::sandbox {

// What the identity provider read from an authentication request.
struct RichiestaAutenticazione {
  std::string azione;          // wsa:Action
  std::string utente;          // wsse:Username
  std::string password;        // decrypted and stripped of nonce and time stamp
  std::string nuova_password;  // password change requests
  std::string nonce;
  std::string creato;        // utp:Created
  std::string responsabile;  // Issuer
  std::string soggetto;      // NameID
  std::string audience;
  std::map<std::string, std::string> attributi;  // AttributeStatement
};

// The regional identity and assertion provider on POST `percorso`: refuses a
// request that breaks the SOAP 1.2, WS-Addressing or WS-Security schemas (when
// the public schemas are there), reads the request with its own code, decrypts the password with
// the provider's private key (it must be nonce + created + password), checks
// it against its users and answers a SAML Response with an (unsigned)
// assertion, or a status with the provider's error code ("ERR_00054 ...",
// "ERR_00056 ..."). A subject (NameID) other than the responsible doctor
// (Issuer) must hold that doctor's delegation and ask in the delegate's
// context "C.1.2" (else ERR_00052, ERR_00041). Password change requests set
// the new password; a wrong current password or a refused new one is
// answered with a SOAP fault whose detail carries the code and its
// description.
class IdentityProvider {
 public:
  IdentityProvider(Sandbox& sandbox, std::filesystem::path chiave_privata,
                   std::string percorso = "/iap");
  const std::string& Percorso() const { return stato_->percorso; }

  void AggiungiUtente(const std::string& utente, const std::string& password, bool scaduta = false);
  // Lets the person with fiscal code `cf_delegato` ask assertions on behalf
  // of the doctor `cf_responsabile`.
  void AggiungiDelega(const std::string& cf_delegato, const std::string& cf_responsabile);
  std::string Password(const std::string& utente) const;
  // The requests read so far (also the refused ones).
  std::vector<RichiestaAutenticazione> Richieste() const;
  // True when `id` is the ID of an assertion this provider issued.
  bool HaEmesso(std::string_view id) const;

 private:
  struct Utente {
    std::string password;
    bool scaduta = false;
  };
  struct Stato {
    std::filesystem::path chiave;
    std::string percorso;
    mutable std::mutex mutex;
    std::map<std::string, Utente> utenti;
    std::set<std::pair<std::string, std::string>> deleghe;  // delegate, responsible
    std::vector<RichiestaAutenticazione> richieste;
    std::shared_ptr<const Schemi> schemi;  // null: requests are not validated
    int emesse = 0;
    std::set<std::string, std::less<>> asserzioni;  // IDs of the issued assertions
  };
  // The request checked against the public schemas (SOAP 1.2, WS-Addressing,
  // WS-Security) when they are there, then handled.
  static Risposta Servi(Stato& stato, const Richiesta& richiesta);
  static Risposta Gestisci(Stato& stato, const Richiesta& richiesta);
  static Risposta CambiaPassword(Utente& utente, const RichiestaAutenticazione& richiesta);
  // The error code and message that refuse the request's context, "" when it
  // may be served.
  static std::string ContestoRifiutato(const Stato& stato, const RichiestaAutenticazione& r);
  std::shared_ptr<Stato> stato_;
};

}  // namespace qzkiro::sandbox
