#pragma once

#include <memory>
#include <string>

namespace qzkiro {

// One SAML assertion with the request context it was issued for, the
// credentials that obtained it and the values of the last authentication
// exchange. The identity service creates, caches and renews items; the
// transports read the assertion from them; the host may keep them, also in
// text form (ToString/FromString).
class clsItemAsserzione {
 public:
  // In the order of the text form.
  std::string Asserzione;  // "<saml:Assertion " ... "</saml:Assertion>"
  std::string Contesto;    // "C.1.1" own patients, "C.1.2" a delegate for the responsible doctor
  std::string Ruolo = "R.1.1";
  std::string Audience;
  std::string CFResponsabile;
  std::string CFUtente;
  std::string CFPaziente;
  std::string TipologiaAutenticazione = "A.1";
  std::string UserName;
  std::string Password;
  std::string Nonce;
  std::string TimeStamp;    // "yyyy-mm-ddThh:nn:ssZ"
  std::string TimeStamp1d;  // TimeStamp plus one day
  std::string LastError;
  std::string LastErrorCode;
  std::string Servizio;
  std::string Struttura;
  std::string OTP;  // second-factor code; not part of the text form

  // The application identifier of the settings, or the add-on's own.
  std::string ApplicationID() const;
  // A new item with the same context and credentials, without assertion,
  // exchange values, error or one-time code.
  std::shared_ptr<clsItemAsserzione> Clone() const;
  // The first seventeen properties as a string list (see util::ListaStringhe).
  std::string ToString() const;
  // Reads what ToString wrote; OTP stays as it is. False (nothing changed)
  // when `txt` is not such a text.
  bool FromString(const std::string& txt);
};

}  // namespace qzkiro
