#include "services/fse/ServiziConsensoFse.h"

#include "core/Contesto.h"
#include "services/fse/ClienteFse.h"
#include "services/fse/ConsensiFse.h"
#include "services/fse/PazienteFse.h"
#include "services/fse/RecuperoDocumento.h"
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

}  // namespace

EsitoServizio ServiziConsensoFse::MPI(std::string& mpi) {
  auto scarto = core::Ctx().App().Framework().NewInput();
  host::Variant record;
  if (RecordPaziente(paziente_, *scarto, record, mpi)) return EsitoServizio::Ok;
  return Esito(servizio::kQueryPaziente, core::Ctx().last_error);
}

EsitoServizio ServiziConsensoFse::Consensi(xds::ConsensiInVigore& consensi, std::string& errore) {
  if (LeggiConsensi(paziente_, consensi)) return EsitoServizio::Ok;
  errore = core::Ctx().last_error;
  return Esito(servizio::kConsensi, errore);
}

EsitoServizio ServiziConsensoFse::Documento(const xds::Consenso& consenso, std::string& testo,
                                            std::string& errore) {
  FileDocumento file;
  if (!RecuperaFile({consenso.id_documento, consenso.repository, ""}, &paziente_, file, errore)) {
    return Esito(servizio::kRecupero, errore);
  }
  const auto dati = util::LeggiFile(file.cda);
  testo = dati ? util::ComeTesto(*dati) : std::string();
  return EsitoServizio::Ok;
}

void ServiziConsensoFse::SalvaStato(const std::string& stato) {
  paziente_.Privacy().SalvaConsensoFSEr(stato);
}

void ServiziConsensoFse::SalvaRecapiti(const std::string& cellulare, const std::string& email) {
  paziente_.SalvaRecapiti(cellulare, email);
}

}  // namespace qzkiro::fse
