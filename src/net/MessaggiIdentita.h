#pragma once

#include <string>

#include "core/Casuale.h"
#include "qzkiro/clsItemAsserzione.h"
#include "util/DataOra.h"

namespace qzkiro::net {

// The messages exchanged with the regional identity provider: built as fixed
// text piece by piece, read back with clsXML.

// 22 characters of [A-Za-z0-9] and "==".
std::string CreaNonce(core::Casuale& casuale);
// A random GUID in registry form, lower case, without braces (36 characters).
std::string CreaIDMessaggio(core::Casuale& casuale);
// "yyyy-mm-ddThh:nn:ssZ".
std::string TimeStampSaml(const util::DataOra& utc);

// The authentication request for `item`: message id `id`, and the password
// already encrypted for the provider (`password_cifrata`).
std::string BustaAutenticazione(const clsItemAsserzione& item, const std::string& id,
                                const std::string& password_cifrata);
// The password change request: the current and the new password encrypted.
std::string BustaAggiornaPassword(const clsItemAsserzione& item, const std::string& id,
                                  const std::string& password_cifrata,
                                  const std::string& nuova_cifrata);

// Reads the provider's answer to an authentication request into `item`
// (Asserzione on success; LastError and LastErrorCode otherwise). True on
// success.
bool LeggiRispostaAutenticazione(const std::string& risposta, clsItemAsserzione& item);
// Reads the provider's answer to a password change: true when it gives the
// new password's expiry date. Otherwise `errore` is the fault's reason
// followed by its descriptions (one per line), else the message of a
// refusing status, else "" (nothing readable in the answer).
bool LeggiRispostaAggiornaPassword(const std::string& risposta, std::string& errore);

}  // namespace qzkiro::net
