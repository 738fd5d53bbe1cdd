#include "flows/DatiHost.h"

#include "core/Contesto.h"
#include "util/Testo.h"

namespace qzkiro::flows {

fhir::MedicoFlusso MedicoDelFlusso(host::IUtente& utente) {
  fhir::MedicoFlusso m;
  m.CodiceFiscale = utente.CodiceFiscale();
  m.CodiceRegionale = utente.CodiceRegionale();
  m.CodiceAccordo = utente.CodiceRegionale();
  m.CodiceAttivita = "MMG";
  return m;
}

std::string IdentificativoMPI(host::IPaziente& paziente) {
  constexpr std::string_view kPrefisso = "MPI:";
  const std::string voce = paziente.Items().GetItem("MPI");
  if (voce.compare(0, kPrefisso.size(), kPrefisso) != 0) return {};
  return util::Trim(std::string_view(voce).substr(kPrefisso.size()));
}

std::shared_ptr<host::IPaziente> PazienteDaCodice(const std::string& codice_fiscale) {
  if (codice_fiscale.empty()) return nullptr;
  auto archivio = core::Ctx().App().Archivio("Pazienti");
  auto pazienti = std::dynamic_pointer_cast<host::IArchivioPazienti>(archivio);
  return pazienti ? pazienti->DaiPaziente(codice_fiscale) : nullptr;
}

}  // namespace qzkiro::flows
