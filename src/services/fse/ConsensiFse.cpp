#include "services/fse/ConsensiFse.h"

#include "core/Contesto.h"
#include "services/fse/ClienteFse.h"
#include "services/fse/PazienteFse.h"
#include "services/fse/RotteFse.h"

namespace qzkiro::fse {

namespace {

// The index identifier, looking the patient up when it is missing (what the
// lookup finds goes to a container of its own, not to the host's answer).
std::string MPI(host::IPaziente& paziente) {
  auto scarto = core::Ctx().App().Framework().NewInput();
  host::Variant record;
  std::string mpi;
  return RecordPaziente(paziente, *scarto, record, mpi) ? mpi : std::string();
}

}  // namespace

bool LeggiConsensi(host::IPaziente& paziente, xds::ConsensiInVigore& consensi) {
  auto& c = core::Ctx();
  consensi = {};
  const std::string mpi = MPI(paziente);
  if (mpi.empty()) return false;
  c.file_simulatore = "QueryConsenso.xml";
  xds::RispostaRegistro risposta;
  if (!QueryRegistro(servizio::kConsensi, paziente, xds::QueryConsensi(mpi), risposta)) {
    if (risposta.xml) c.last_error = "Errore: " + c.last_error;
    return false;
  }
  consensi = xds::Consensi(risposta.voci);
  return true;
}

bool LeggiPatientSummary(host::IPaziente& paziente, const std::string& id_documento,
                         xds::VoceRegistro& summary, bool& trovato) {
  auto& c = core::Ctx();
  trovato = false;
  summary = {};
  const std::string mpi = MPI(paziente);
  if (mpi.empty()) return false;
  c.file_simulatore = "PatientSummary";
  const auto query =
      id_documento.empty() ? xds::QueryPatientSummary(mpi) : xds::QueryDocumentoPerId(id_documento);
  xds::RispostaRegistro risposta;
  if (!QueryRegistro(servizio::kPatientSummary, paziente, query, risposta)) return false;
  for (const auto& voce : risposta.voci) {
    if (!trovato || xds::PiuRecente(voce.creazione, summary.creazione)) summary = voce;
    trovato = true;
  }
  return true;
}

}  // namespace qzkiro::fse
