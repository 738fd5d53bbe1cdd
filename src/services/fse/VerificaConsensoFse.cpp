// The silent check of a patient's consents to the regional health record
// (QZ01015): the consent dialogs' verification over the host's patient and
// the regional services.

#include <memory>

#include "consent/VerificaConsenso.h"
#include "core/Contesto.h"
#include "services/fse/ClienteFse.h"
#include "services/fse/ConsensiFse.h"
#include "services/fse/PazienteFse.h"
#include "services/fse/RecuperoDocumento.h"
#include "services/fse/RotteFse.h"
#include "util/File.h"

namespace qzkiro::fse {

namespace {

using consent::EsitoServizio;

// A failure is the server's silence when the service's own "no answer"
// message opens it.
EsitoServizio Esito(const ServizioFse& servizio, const std::string& errore) {
  return errore.rfind(servizio.nessuna_risposta, 0) == 0 ? EsitoServizio::NonRisponde
                                                         : EsitoServizio::Errore;
}

class ServiziConsensoFse : public consent::ServiziConsenso {
 public:
  explicit ServiziConsensoFse(host::IPaziente& paziente) : paziente_(paziente) {}

  EsitoServizio MPI(std::string& mpi) override {
    auto scarto = core::Ctx().App().Framework().NewInput();
    host::Variant record;
    if (RecordPaziente(paziente_, *scarto, record, mpi)) return EsitoServizio::Ok;
    return Esito(servizio::kQueryPaziente, core::Ctx().last_error);
  }

  EsitoServizio Consensi(xds::ConsensiInVigore& consensi, std::string& errore) override {
    if (LeggiConsensi(paziente_, consensi)) return EsitoServizio::Ok;
    errore = core::Ctx().last_error;
    return Esito(servizio::kConsensi, errore);
  }

  EsitoServizio Documento(const xds::Consenso& consenso, std::string& testo,
                          std::string& errore) override {
    FileDocumento file;
    if (!RecuperaFile({consenso.id_documento, consenso.repository, ""}, &paziente_, file,
                      errore)) {
      return Esito(servizio::kRecupero, errore);
    }
    const auto dati = util::LeggiFile(file.cda);
    testo = dati ? util::ComeTesto(*dati) : std::string();
    return EsitoServizio::Ok;
  }

  void SalvaStato(const std::string& stato) override { paziente_.Privacy().SalvaConsensoFSEr(stato); }

  void SalvaRecapiti(const std::string& cellulare, const std::string& email) override {
    paziente_.SalvaRecapiti(cellulare, email);
  }

 private:
  host::IPaziente& paziente_;
};

}  // namespace

// The route holds the pause: it lives as long as the add-on's context.
std::function<bool(host::Variant&, host::Variant&, host::Variant&)> VerificaConsensoFSE() {
  return [pausa = std::make_shared<consent::PausaVerifica>()](host::Variant& Paziente,
                                                             host::Variant&, host::Variant&) {
    auto& c = core::Ctx();
    auto paziente = Paziente.As<host::IPaziente>();
    if (!paziente) {
      c.last_error = "Paziente non valido";
      return false;
    }
    ServiziConsensoFse servizi(*paziente);
    return consent::VerificaConsenso(servizi, *pausa, *c.orologio, *c.ui,
                                     {paziente->Cellulare(), paziente->Email()});
  };
}

}  // namespace qzkiro::fse
