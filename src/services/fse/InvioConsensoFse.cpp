#include "services/fse/InvioConsensoFse.h"

#include "consent/clsCDA2_Consenso.h"
#include "core/Cartelle.h"
#include "core/Contesto.h"
#include "services/fse/ClienteFse.h"
#include "services/fse/DatiInvio.h"

namespace qzkiro::fse {

consent::EsitoInvio InviaConsenso(host::IPaziente& paziente, const std::string& mpi,
                                  const consent::frmConsensoFSE& form,
                                  const xds::ConsensiInVigore& in_vigore) {
  auto& c = core::Ctx();
  consent::clsCDA2_Consenso consenso(c.orologio->Adesso(), MarcaTemporale(*c.orologio));
  if (const std::string nulla = consent::CompilaConsenso(form, in_vigore, consenso);
      !nulla.empty()) {
    return {false, {}, nulla};
  }
  consenso.Medico = MedicoDi(c.App().Utente());
  consenso.Paziente = PazienteDi(paziente, mpi);
  consenso.Endpoint = c.settings.Endpoint("repositoryreg");
  consenso.Tabelle.cartella = core::CartellaPlugin();
  consenso.GetSmartGUID = [&c] { return c.App().Framework().GetSmartGUID(); };
  auto asserzione = AsserzioneFse(servizio::kConsensi, "", paziente.CodiceFiscale());
  if (!asserzione) return {false, {}, c.last_error};
  std::string risposta, errore;
  auto prepara = [&consenso](const clsItemAsserzione& item) { return consenso.HttpRequest(item); };
  if (!InviaPubblicazione(prepara, *asserzione, "inviaConsenso", risposta, errore)) {
    return {false, {}, errore};
  }
  return consent::LeggiEsitoInvio(risposta, consenso);
}

}  // namespace qzkiro::fse
