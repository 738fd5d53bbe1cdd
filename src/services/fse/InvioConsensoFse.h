#pragma once

#include <string>

#include "consent/InvioConsenso.h"
#include "consent/frmConsensoFSE.h"
#include "qzkiro/host/Archivio.h"
#include "xds/Consensi.h"

namespace qzkiro::fse {

// Sends the consents the form asks for (what changed against `in_vigore`)
// to the regional repository for the patient with index identifier `mpi`,
// with an assertion "Consenso"/"C.6.5", and reads the answer. Nothing is
// sent when nothing changed: the result's message is then "Nessuna
// modifica apportata".
consent::EsitoInvio InviaConsenso(host::IPaziente& paziente, const std::string& mpi,
                                  const consent::frmConsensoFSE& form,
                                  const xds::ConsensiInVigore& in_vigore);

}  // namespace qzkiro::fse
