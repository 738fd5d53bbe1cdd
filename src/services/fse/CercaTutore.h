#pragma once

#include "qzkiro/ModuliFse.h"

namespace qzkiro::fse {

// The search menu of a guardian's tab in the consent form. Each fills
// `scheda` and answers true, or leaves it as it was and answers false: the
// user closed the host's list, or the host could not answer (then a warning
// titled "KIRO" says why). Nothing they meet escapes: they run inside the
// form's window.

// "Cerca in Curalis": the patient the user picks in the host's archive.
bool CercaInArchivio(SchedaTutore& scheda);
// "Cerca su KIRO": the host's registry search, asked with the fiscal code
// already typed in the tab.
bool CercaSuKiro(SchedaTutore& scheda);

}  // namespace qzkiro::fse
