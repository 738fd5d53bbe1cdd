#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "sandbox/Sandbox.h"

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

// The regional identity and assertion provider on POST `percorso`: reads the
// SOAP 1.2 WS-Security request with its own code, decrypts the password with
// the provider's private key (it must be nonce + created + password), checks
// it against its users and answers a SAML Response with an (unsigned)
// assertion, or a status with the provider's error code ("ERR_00054 ...",
// "ERR_00056 ..."). Password change requests set the new password.
class IdentityProvider {
 public:
  IdentityProvider(Sandbox& sandbox, std::filesystem::path chiave_privata,
                   std::string percorso = "/iap");
  const std::string& Percorso() const { return stato_->percorso; }

  void AggiungiUtente(const std::string& utente, const std::string& password, bool scaduta = false);
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
    std::vector<RichiestaAutenticazione> richieste;
    int emesse = 0;
    std::set<std::string, std::less<>> asserzioni;  // IDs of the issued assertions
  };
  static Risposta Gestisci(Stato& stato, const Richiesta& richiesta);
  std::shared_ptr<Stato> stato_;
};

}  // namespace qzkiro::sandbox
