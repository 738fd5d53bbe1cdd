#include "services/fse/PazienteFse.h"

#include "core/Contesto.h"
#include "qzkiro/host/Membri.h"
#include "services/fse/ClienteFse.h"
#include "services/fse/RicercaMPI.h"
#include "services/regione/BloccoPaziente.h"
#include "util/DataOra.h"

namespace qzkiro::fse {

std::string Parametro(const host::Collection& parametri, const std::string& chiave) {
  if (!parametri.Exists(chiave)) return {};
  const host::Variant& voce = parametri.Item(chiave);
  if (auto membri = voce.As<host::IMembri>()) return membri->Membro("Value").ToText();
  return voce.ToText();
}

std::string DataParametro(const host::Collection& parametri, const std::string& chiave) {
  const std::string testo = Parametro(parametri, chiave);
  if (testo.size() == 8 && testo.find_first_not_of("0123456789") == std::string::npos) {
    return testo;
  }
  const auto data = util::DataOra::Leggi(testo.size() == 10 ? testo + " 00:00:00" : testo);
  return data ? data->Formato("yyyymmdd") : std::string();
}

std::shared_ptr<host::IPaziente> PazienteDi(const host::Collection& parametri) {
  auto& app = core::Ctx().App();
  std::shared_ptr<host::IPaziente> paziente;
  const std::string cf = Parametro(parametri, "Parametro.Paziente.CodiceFiscale");
  if (!cf.empty()) {
    auto archivio = std::dynamic_pointer_cast<host::IArchivioPazienti>(app.Archivio("Pazienti"));
    if (archivio) paziente = archivio->DaiPaziente(cf);
  } else {
    paziente = app.Paziente();
  }
  if (!paziente) core::Ctx().last_error = "Paziente non trovato in archivio";
  return paziente;
}

namespace {

host::Variant RecordDaHost(host::IPaziente& p, host::IInput& risultato) {
  host::Variant record = risultato.Add("AddPaziente", {});
  std::vector<host::Variant> anagrafica{record,       regione::Oggi(), p.CodiceFiscale(), "",
                                        p.Cognome(),  p.Nome(),        p.Sesso(),
                                        p.DataNascita()};
  anagrafica.resize(28);  // birth place, addresses and contacts are the index's
  risultato.Add("AddAnagrafica", anagrafica);
  return record;
}

}  // namespace

bool RecordPaziente(host::IPaziente& paziente, host::IInput& risultato, host::Variant& record,
                    std::string& mpi) {
  mpi = CodiceMPI(paziente);
  if (!mpi.empty()) {
    record = RecordDaHost(paziente, risultato);
    return true;
  }
  DatiRicercaMPI dati{paziente.CodiceFiscale(), {}, {}, paziente.Cognome(), paziente.Nome(),
                      paziente.DataNascita()};
  const EsitoMPI esito = CercaPazienteMPI(dati, risultato, {});
  if (!esito.trovato) return false;
  if (esito.mpi.empty()) {
    core::Ctx().last_error = "Codice MPI del paziente non trovato";
    return false;
  }
  mpi = esito.mpi;
  record = esito.paziente;
  SalvaCodiceMPI(paziente, mpi);
  return true;
}

}  // namespace qzkiro::fse
