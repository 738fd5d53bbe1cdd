#pragma once

#include <memory>
#include <string>

#include "fhir/DatiFlusso.h"
#include "qzkiro/host/Archivio.h"
#include "qzkiro/host/Utente.h"

namespace qzkiro::flows {

// The doctor as the FHIR flows name him: fiscal and regional codes, the
// regional code as agreement code, and the general practitioner's activity.
fhir::MedicoFlusso MedicoDelFlusso(host::IUtente& utente);

// The patient's regional identifier, kept in the patient's items as
// "MPI:" + id by the patient index lookup; "" when the patient has none.
std::string IdentificativoMPI(host::IPaziente& paziente);

// The host's patient with this fiscal code; null when the archive has none.
std::shared_ptr<host::IPaziente> PazienteDaCodice(const std::string& codice_fiscale);

}  // namespace qzkiro::flows
