// The patient registry query over SOAP (the regional patient index): from
// the host's search parameters, or for one patient of the host.

#include "core/Contesto.h"
#include "services/fse/ClienteFse.h"
#include "services/fse/PazienteFse.h"
#include "services/fse/RicercaMPI.h"
#include "services/fse/RotteFse.h"
#include "util/Testo.h"

namespace qzkiro::fse {

namespace {

constexpr std::string_view kPrefissoMPI = "MPI:";

// Runs the query into a new result container, which becomes the last
// response only when a patient was found.
bool Cerca(const DatiRicercaMPI& dati, host::IPaziente* paziente) {
  auto& c = core::Ctx();
  c.last_response.reset();
  auto risultato = c.App().Framework().NewInput();
  const EsitoMPI esito = CercaPazienteMPI(dati, *risultato);
  if (!esito.trovato) return false;
  if (paziente) SalvaCodiceMPI(*paziente, esito.mpi);
  c.last_response = risultato;
  return true;
}

}  // namespace

}  // namespace qzkiro::fse

namespace qzkiro::op {

bool QueryPaziente(Collection& Param, Variant&) {
  using fse::Parametro;
  fse::DatiRicercaMPI dati{Parametro(Param, "Parametro.Paziente.CodiceFiscale"),
                           {},
                           Parametro(Param, "Parametro.Paziente.Tessera"),
                           Parametro(Param, "Parametro.Paziente.Cognome"),
                           Parametro(Param, "Parametro.Paziente.Nome"),
                           fse::DataParametro(Param, "Parametro.Paziente.DataNascita")};
  if (dati.codice_fiscale.compare(0, fse::kPrefissoMPI.size(), fse::kPrefissoMPI) == 0) {
    dati.mpi = util::Trim(dati.codice_fiscale.substr(fse::kPrefissoMPI.size()));
    dati.codice_fiscale.clear();
  }
  std::shared_ptr<host::IPaziente> paziente;
  if (!dati.codice_fiscale.empty()) {
    auto archivio = std::dynamic_pointer_cast<host::IArchivioPazienti>(
        core::Ctx().App().Archivio("Pazienti"));
    if (archivio) paziente = archivio->DaiPaziente(dati.codice_fiscale);
  }
  return fse::Cerca(dati, paziente.get());
}

bool AziendaAssistenza(Variant& Paziente, Collection&, Variant&) {
  auto paziente = Paziente.As<host::IPaziente>();
  if (!paziente) {
    core::Ctx().last_error = "Paziente non valido";
    return false;
  }
  fse::DatiRicercaMPI dati{paziente->CodiceFiscale(), fse::CodiceMPI(*paziente), {},
                           paziente->Cognome(),       paziente->Nome(),
                           paziente->DataNascita()};
  return fse::Cerca(dati, paziente.get());
}

}  // namespace qzkiro::op
