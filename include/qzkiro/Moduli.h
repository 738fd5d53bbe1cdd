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

}  // namespace qzkiro
