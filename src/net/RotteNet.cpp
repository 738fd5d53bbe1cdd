#include "net/RotteNet.h"

#include "net/clsAsserzione.h"

namespace qzkiro::net {

void RegistraRotte(core::Rotte& rotte) {
  rotte.InviaIDSessione = op::InviaIDSessione;
  rotte.ImpostaToken = op::ImpostaToken;
  rotte.ModificaPassword = op::ModificaPassword;
  rotte.CreaServizioAsserzione = [] { return std::make_shared<clsAsserzione>(); };
}

}  // namespace qzkiro::net
