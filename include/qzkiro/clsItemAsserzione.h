#pragma once

#include <memory>
#include <string>

/// \file
/// One SAML assertion of the regional identity provider, with what it was
/// issued for.

namespace qzkiro {

/// One SAML assertion with the request context it was issued for, the
/// credentials that obtained it and the values of the last authentication
/// exchange. The identity service creates, caches and renews items; the
/// transports read the assertion from them; the host may keep them, also in
/// text form (ToString/FromString).
///
/// The data members are listed in the order of the text form.
class clsItemAsserzione {
 public:
  /// The assertion itself: "<saml:Assertion " ... "</saml:Assertion>".
  std::string Asserzione;
  /// The request context: "C.1.1" own patients, "C.1.2" a delegate for the
  /// responsible doctor.
  std::string Contesto;
  /// The role code the assertion is asked for.
  std::string Ruolo = "R.1.1";
  /// The audience the assertion is restricted to ("http://X-ServiceProvider"
  /// when none is asked for).
  std::string Audience;
  /// The fiscal code of the responsible doctor, in whose name the request is
  /// made.
  std::string CFResponsabile;
  /// The fiscal code of the user, the request's subject.
  std::string CFUtente;
  /// The fiscal code of the patient the request concerns; "" for none.
  std::string CFPaziente;
  /// The kind of authentication; "A.1" (user name and password) is the only
  /// one the identity service accepts.
  std::string TipologiaAutenticazione = "A.1";
  /// The identity provider's user name.
  std::string UserName;
  /// The identity provider's password.
  std::string Password;
  /// The nonce of the last authentication request.
  std::string Nonce;
  /// The time stamp of the last request, UTC: "yyyy-mm-ddThh:nn:ssZ".
  std::string TimeStamp;
  /// TimeStamp plus one day: the end of the validity asked for.
  std::string TimeStamp1d;
  /// The message of the last failed exchange; "" after a success.
  std::string LastError;
  /// The identity provider's error code of the last failed exchange
  /// ("ERR_00056" for an expired password, ...); "" when it gave none.
  std::string LastErrorCode;
  /// The name of the service the assertion is for.
  std::string Servizio;
  /// The code of the user's facility, sent to the identity provider when set.
  std::string Struttura;
  /// Second-factor code; not part of the text form.
  std::string OTP;

  /// The application identifier of the settings, or the add-on's own.
  std::string ApplicationID() const;
  /// A new item with the same context and credentials, without assertion,
  /// exchange values, error or one-time code.
  std::shared_ptr<clsItemAsserzione> Clone() const;
  /// The first seventeen properties as a string list: each written as its
  /// length in bytes, ':', the text, ','.
  std::string ToString() const;
  /// Reads what ToString wrote; OTP stays as it is. False (nothing changed)
  /// when `txt` is not such a text.
  bool FromString(const std::string& txt);
};

}  // namespace qzkiro
