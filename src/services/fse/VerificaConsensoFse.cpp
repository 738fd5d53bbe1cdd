// QZ01015: with Check the silent verification of a patient's consents to
// the regional health record, without it the consent form.

#include <memory>

#include "consent/VerificaConsenso.h"
#include "core/Contesto.h"
#include "services/fse/DialogoConsenso.h"
#include "services/fse/RotteFse.h"
#include "services/fse/ServiziConsensoFse.h"

namespace qzkiro::fse {

// The route holds the pause: it lives as long as the add-on's context.
std::function<bool(host::Variant&, host::Variant&, host::Variant&)> VerificaConsensoFSE() {
  return [pausa = std::make_shared<consent::PausaVerifica>()](
             host::Variant& Paziente, host::Variant&, host::Variant& Check) {
    auto& c = core::Ctx();
    auto paziente = Paziente.As<host::IPaziente>();
    if (!paziente) {
      c.last_error = "Paziente non valido";
      return false;
    }
    if (!Check.ToBool()) return DialogoConsenso(*paziente);
    ServiziConsensoFse servizi(*paziente);
    return consent::VerificaConsenso(servizi, *pausa, *c.orologio, *c.ui,
                                     {paziente->Cellulare(), paziente->Email()});
  };
}

}  // namespace qzkiro::fse
