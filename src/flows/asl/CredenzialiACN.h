#pragma once

#include <optional>
#include <string>

#include "qzkiro/Moduli.h"

namespace qzkiro::asl {

// The user name and password of the local health units' flow services.
struct CredenzialiACN {
  std::string utente;
  std::string password;
};

// The stored record (before protection): "Curalis", the dialog's second field
// and its first, separated by tab characters.
std::string RecordCredenzialiACN(const frmAccessoACN& form);
// The dialog's fields from a stored record; nullopt unless the record has
// exactly three fields and the first is "Curalis".
std::optional<frmAccessoACN> LeggiRecordCredenzialiACN(const std::string& record);

// Shows the credentials dialog, filled from the record stored for the user
// (registry "Software\Telvora\Curalis V6\ACN\" + fiscal code, value
// "Credenziali", protected with the host's Encrypt under the second
// protection key). OK stores the record when "Ricorda" is ticked; nullopt
// when the user cancels.
std::optional<CredenzialiACN> ChiediCredenzialiACN();

}  // namespace qzkiro::asl
