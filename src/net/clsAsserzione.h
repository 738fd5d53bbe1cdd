#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/ServizioAsserzione.h"
#include "net/clsSOAP.h"
#include "qzkiro/clsItemAsserzione.h"
#include "util/DataOra.h"

namespace qzkiro::net {

// The process-wide identity service: obtains SAML assertions from the
// regional identity provider on behalf of the doctor, keeps them in a cache so
// one login serves many requests, renews them and changes expired passwords.
class clsAsserzione : public core::ServizioAsserzione {
 public:
  // The cached assertion for this request context, or a new one. Without
  // CFResponsabile, a user who acts for the doctors (host user types 2 to 4)
  // asks on behalf of the own doctor of the patient open on the host.
  std::shared_ptr<clsItemAsserzione> DaiAsserzione(
      const std::string& Servizio, const std::string& Contesto, const std::string& Ruolo,
      const std::string& Audience, const std::string& CFResponsabile, const std::string& CFPaziente,
      const std::string& TokenOTP = {});
  // Always authenticates again; the new item joins the cache.
  std::shared_ptr<clsItemAsserzione> NuovaAsserzione(
      const std::string& Servizio, const std::string& Contesto, const std::string& Ruolo,
      const std::string& Audience, const std::string& TipologiaAutenticazione,
      const std::string& CFPaziente, const std::string& CFResponsabile,
      const std::string& TokenOTP = {});

  // The identity service as the transports use it.
  bool AggiornaAsserzione(clsItemAsserzione& item) override;
  void EliminaAsserzione(const clsItemAsserzione& item) override;
  std::shared_ptr<clsItemAsserzione> NuovaAsserzione(const std::string& servizio,
                                                     const std::string& contesto,
                                                     const std::string& cf_paziente,
                                                     const std::string& cf_responsabile) override;
  bool UpdatePassword(clsItemAsserzione& item) override;
  std::string LastError() const override { return last_error_; }
  // A new message identifier (random GUID, lower case, no braces).
  static std::string CreaIDMessaggio();

  // One exchange with the provider for `item`; true when it issued the
  // assertion (in item.Asserzione).
  bool RichiestaAsserzione(clsItemAsserzione& item);
  // The password change exchange for the item's user, with its current
  // password and the new one already chosen. On success the item, the
  // cached items of the same user and the remembered credentials take the
  // new password.
  bool CambiaPassword(clsItemAsserzione& item, const std::string& nuova);
  // Credentials kept for the rest of the run (after a login or the dialog).
  void Ricorda(const std::string& utente, const std::string& password,
               const std::string& cf_responsabile, const std::string& cf_utente);
  // The user name to offer for a password change: the remembered one, else
  // the stored one, else "".
  std::string UtenteNoto() const;

  const std::vector<std::shared_ptr<clsItemAsserzione>>& Cache() const { return cache_; }

  // The time stamps' instant (see OraRiferimento.h).
  static util::DataOra OraRiferimento();

  // Warns when the PC clock is a minute or more away from the national
  // reference time; at most once every five minutes; never blocks.
  void ControllaOrologio();

 private:
  // A client of the identity provider configured from the settings.
  static clsSOAP ClientProvider(const std::string& azione, const std::string& servizio);
  // Nonce, time stamps and message id of a new request; answers the id.
  static std::string PreparaRichiesta(clsItemAsserzione& item);
  bool Autentica(clsItemAsserzione& item);
  // The provider refused an expired password or one to be changed: offers
  // the change and, once changed, asks the assertion again.
  bool AutenticaDopoCambio(clsItemAsserzione& item, bool scaduta);
  // Asks the credentials with the dialog and fills `item`; false when cancelled.
  bool ChiediCredenziali(clsItemAsserzione& item);
  // The delegate context when the user acts for another doctor.
  static void ContestoDelegato(clsItemAsserzione& item);
  struct Credenziali {
    std::string utente, password, cf_responsabile, cf_utente;
  };
  std::vector<std::shared_ptr<clsItemAsserzione>> cache_;
  Credenziali ricordate_;
  std::string last_error_;
  std::optional<util::DataOra> ultimo_controllo_;
};

}  // namespace qzkiro::net
