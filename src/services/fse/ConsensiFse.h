#pragma once

#include <string>

#include "qzkiro/host/Archivio.h"
#include "xds/Consensi.h"
#include "xds/RispostaRegistro.h"

namespace qzkiro::fse {

// The patient's consents in force in the regional registry (the consent
// documents, the most recent of each kind deciding). A patient without the
// index identifier is looked up first. False with the last error, prefixed
// "Errore: " for what the registry answered.
bool LeggiConsensi(host::IPaziente& paziente, xds::ConsensiInVigore& consensi);

// The patient's current summary: by its unique id when known (GetDocuments),
// else by its format code (FindDocuments); the most recent entry. `trovato`
// is false when the registry has none. False with the last error.
bool LeggiPatientSummary(host::IPaziente& paziente, const std::string& id_documento,
                         xds::VoceRegistro& summary, bool& trovato);

}  // namespace qzkiro::fse
