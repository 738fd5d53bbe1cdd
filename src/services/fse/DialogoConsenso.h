#pragma once

#include "qzkiro/host/Archivio.h"

namespace qzkiro::fse {

// The file of the citizens' information notice, in the add-on's folder.
inline constexpr const char* kInformativaFse = "FSEr - Informativa_versione aprile 2016.pdf";

// The consent form for a patient: the checks of the patient, loading from
// the regional services, the form shown through the Ui port, and on OK the
// checks, the submission, the state string stored, the result and the
// portal notice. A failure is shown (title "KIRO") and left in the last
// error; a failed submission leaves the form open and the stored state as
// it was. True when a submission succeeded.
bool DialogoConsenso(host::IPaziente& paziente);

}  // namespace qzkiro::fse
