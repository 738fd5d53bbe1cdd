// The doctor's patient list (QZ02004 with the FHIR service configured): every
// patient of the regional FHIR server handed to the host, with the regional
// index's data when the index gives them, else with what the host knows.

#include "core/Contesto.h"
#include "services/assistiti/RecordAssistito.h"
#include "services/assistiti/RotteAssistiti.h"
#include "services/assistiti/ServizioAssistiti.h"
#include "services/fse/RicercaMPI.h"

namespace qzkiro::op {

bool ElencoAssistitiFHIR(Collection&, Variant&) {
  using namespace assistiti;
  auto& c = core::Ctx();
  c.last_response.reset();
  const EsitoElenco elenco = ChiediElencoAssistiti();
  if (!elenco.riuscito) {
    c.last_error = elenco.errore;
    return false;
  }
  auto& app = c.App();
  const auto archivio = host::Come<host::IArchivioPazienti>(app.Archivio("Pazienti"), "Pazienti");
  const std::string asl_utente = app.Utente().CodiceRegioneASL();
  auto risultato = app.Framework().NewInput();
  for (const AssistitoFse& a : elenco.assistiti) {
    const fse::EsitoMPI esito = fse::CercaPazienteMPI({a.codice_fiscale, a.mpi, {}, {}, {}, {}},
                                                      *risultato, {true, false, true, {}});
    if (esito.trovato) continue;
    const auto paziente =
        a.codice_fiscale.empty() ? nullptr : archivio->DaiPaziente(a.codice_fiscale);
    AnagraficaLocale(*risultato, a, paziente.get(), asl_utente);
  }
  c.last_response = risultato;
  c.last_error.clear();  // a patient the index did not give came from the host instead
  return true;
}

}  // namespace qzkiro::op
