#pragma once

#include <optional>
#include <string>

#include "qzkiro/ModuliFse.h"
#include "qzkiro/host/Archivio.h"

namespace qzkiro::consent {

// The guardian tab's search menu: a patient picked in the host's archive,
// listed by kColonnaArchivio, or the answer the host gives to kEventoAnagrafica
// from the regional registry search.
inline constexpr const char* kColonnaArchivio = "Cognome e nome";
inline constexpr const char* kEventoAnagrafica = "plgQZCoopApp.RicezioneAnagrafica";

// A guardian's tab filled from a patient of the host: surname, name, fiscal
// code, and the contacts when the host keeps them for that patient. The
// regional identifier of the tab it replaces does not belong to this person
// and is left empty.
SchedaTutore TutoreDaPaziente(host::IPaziente& paziente);

// What the host answered to the registry search.
struct AnagraficaRicevuta {
  std::optional<SchedaTutore> tutore;  // empty: nothing usable
  std::string errore;                  // why, for the user; "" for no answer
};

// Reads the first "anagrafica" element of `risposta` (at any depth, without
// regard to namespaces): "codiceFiscale", "cognome", "nome", "cellulare",
// "email". An answer without a fiscal code fills nothing.
AnagraficaRicevuta LeggiAnagrafica(const std::string& risposta);

}  // namespace qzkiro::consent
