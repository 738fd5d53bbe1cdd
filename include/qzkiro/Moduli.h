#pragma once

#include <string>
#include <vector>

namespace qzkiro {

// A doctor the user may act for, from the host's doctors' archive.
struct Responsabile {
  std::string CodiceFiscale;
  std::string NomeCompleto;
};

// The credentials dialog of the identity provider: user name, password, the
// responsible doctor and whether to remember the credentials.
class frmPasswordAsserzione {
 public:
  std::string UserName;
  std::string Password;
  std::vector<Responsabile> Responsabili;
  int IndiceResponsabile = -1;  // -1: none chosen
  bool Ricorda = false;
  bool RichiedeResponsabile = true;

  // The warning that stops OK, "" when the fields are acceptable.
  std::string Valida() const;
  const Responsabile* Scelto() const;
};

// The password-change dialog.
class frmUpdatePasswordAsserzione {
 public:
  std::string UserName;
  std::string Password;
  std::string NuovaPassword;
  std::string Ridigita;

  std::string Valida() const;
};

// The credentials dialog of the local health units' flow services
// ("Accesso Servizi ACN"): its first text field holds the user name, the
// second the password.
class frmAccessoACN {
 public:
  static constexpr const char* kTitolo = "Accesso Servizi ACN";
  static constexpr const char* kIstruzione =
      "Impostare le credenziali di accesso ai servizi web e fare clic su OK";
  static constexpr const char* kRicorda = "Ricorda queste impostazioni al prossimo accesso";
  static constexpr const char* kAnnulla = "Annulla";

  std::string Testo1;
  std::string Testo2;
  bool Ricorda = false;
};

}  // namespace qzkiro
