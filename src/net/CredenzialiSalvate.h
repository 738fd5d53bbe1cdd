#pragma once

#include <optional>
#include <string>

namespace qzkiro::net {

// The identity provider's user name and password the user asked to remember:
// protected with the host's Encrypt and kept both in the user's items
// ("KIRO.IAP") and in the host registry (value "Credenziali" of
// "Software\Telvora\Curalis V6\KIRO\").
struct CredenzialiSalvate {
  std::string utente;
  std::string password;

  // Throws Failure when the host refuses.
  void Salva() const;
  // What was saved, from the items or else the registry; nullopt when there
  // is nothing readable.
  static std::optional<CredenzialiSalvate> Leggi();
};

}  // namespace qzkiro::net
