#include "services/fse/CercaTutore.h"

#include <exception>
#include <string>

#include "consent/RicercaTutore.h"
#include "consent/frmConsensoFSE.h"
#include "core/Contesto.h"

namespace qzkiro::fse {

namespace {

bool Avvisa(const std::string& messaggio) {
  core::Ctx().ui->MsgBox(messaggio, core::stile::kOK | core::stile::kAvviso,
                         std::string(consent::kTitoloKiro));
  return false;
}

// Runs one search; whatever the host throws becomes a warning.
template <class Ricerca>
bool Protetta(Ricerca ricerca) {
  try {
    return ricerca();
  } catch (const std::exception& e) {
    return Avvisa(std::string("Ricerca non riuscita: ") + e.what());
  }
}

}  // namespace

bool CercaInArchivio(SchedaTutore& scheda) {
  return Protetta([&scheda] {
    auto& app = core::Ctx().App();
    auto archivio = host::Come<host::IArchivioPazienti>(app.Archivio("Pazienti"), "Pazienti");
    auto paziente = archivio->Scegli(consent::kColonnaArchivio);
    if (!paziente) return false;
    scheda = consent::TutoreDaPaziente(*paziente);
    return true;
  });
}

bool CercaSuKiro(SchedaTutore& scheda) {
  return Protetta([&scheda] {
    auto& app = core::Ctx().App();
    const auto letta = consent::LeggiAnagrafica(
        app.ChiediEvento(consent::kEventoAnagrafica, scheda.CodiceFiscale));
    if (!letta.tutore) {
      return Avvisa(letta.errore.empty() ? "La ricerca anagrafica non ha restituito alcun dato"
                                         : letta.errore);
    }
    scheda = *letta.tutore;
    return true;
  });
}

}  // namespace qzkiro::fse
