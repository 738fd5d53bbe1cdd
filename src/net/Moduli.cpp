#include "qzkiro/Moduli.h"

namespace qzkiro {

std::string frmPasswordAsserzione::Valida() const {
  if (UserName.empty()) return "Il nome utente non può essere vuoto";
  if (RichiedeResponsabile && !Scelto()) return "Il nome del responsabile non può essere vuoto";
  return {};
}

const Responsabile* frmPasswordAsserzione::Scelto() const {
  if (IndiceResponsabile < 0 || IndiceResponsabile >= static_cast<int>(Responsabili.size())) {
    return nullptr;
  }
  return &Responsabili[static_cast<std::size_t>(IndiceResponsabile)];
}

std::string frmUpdatePasswordAsserzione::Valida() const {
  if (Ridigita.empty()) return "Ridigitare la nuova password nel campo 'Ridigita password'";
  if (Ridigita != NuovaPassword) return "La nuova password non coincide con quella ridigitata";
  return {};
}

}  // namespace qzkiro
