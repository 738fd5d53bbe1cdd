// The doctor's patient registry brought in line with the regional FHIR
// server's list: new patients from the regional index, revocations for the
// patients the server no longer lists.

#include "core/Contesto.h"
#include "core/modLog.h"
#include "services/assistiti/RecordAssistito.h"
#include "services/assistiti/Riconciliazione.h"
#include "services/assistiti/RotteAssistiti.h"
#include "services/assistiti/ServizioAssistiti.h"
#include "services/fse/RicercaMPI.h"

namespace qzkiro::assistiti {

namespace {

// The unit a relationship moves to when the list does not say which.
constexpr const char* kAziendaIgnota = "999999";

// A new patient of the doctor, with the index's registry data and GP
// relationship; false (and nothing handed over) when the index fails.
bool NuovoAssistito(const AssistitoFse& a, host::IInput& risultato) {
  const fse::EsitoMPI esito = fse::CercaPazienteMPI({a.codice_fiscale, a.mpi, {}, {}, {}, {}},
                                                    risultato, {true, false, false, {}});
  if (!esito.trovato) {
    core::modLog::Log(kServizio,
                      "Paziente " + (a.codice_fiscale.empty() ? a.mpi : a.codice_fiscale) +
                          " non aggiunto: " + esito.errore,
                      true);
  }
  return esito.trovato;
}

// A patient who is no longer the doctor's: the relationship ends now, towards
// an unknown unit (so it names no doctor), and a "Revoca" notification.
void Revoca(const std::string& cf, host::IArchivioPazienti& archivio, host::IInput& risultato,
            const std::string& adesso) {
  const auto paziente = archivio.DaiPaziente(cf);
  const host::Variant record = AnagraficaLocale(risultato, {cf, {}}, paziente.get(), {});
  risultato.Add("AddRapportoSSN", {record, "", "", "", "", adesso, kAziendaIgnota});
  const std::string cognome = paziente ? paziente->Cognome() : std::string();
  const std::string nome = paziente ? paziente->Nome() : std::string();
  risultato.Add("AddNotifica", {"", "", adesso, "REV", "", "", fse::TestoEventoMPI("REV"), "",
                                cognome, nome, cf, ""});
}

std::string Elenco(const std::vector<std::string>& codici) {
  std::string testo;
  for (const auto& codice : codici) testo += (testo.empty() ? "" : ", ") + codice;
  return testo;
}

}  // namespace

}  // namespace qzkiro::assistiti

namespace qzkiro::op {

bool AllineaPazientiFSE(Collection&, Variant&) {
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
  const Riconciliazione r =
      Riconcilia(archivio->ListaCFPazientiSSN(app.Utente().CodiceFiscale()), elenco.assistiti);
  auto risultato = app.Framework().NewInput();
  std::vector<std::string> non_trovati;
  for (const AssistitoFse& a : r.nuovi) {
    if (!NuovoAssistito(a, *risultato)) {
      non_trovati.push_back(a.codice_fiscale.empty() ? a.mpi : a.codice_fiscale);
    }
  }
  const std::string adesso = c.orologio->Adesso().Formato("yyyymmddhhnnss");
  for (const std::string& cf : r.revocati) Revoca(cf, *archivio, *risultato, adesso);
  c.last_response = risultato;
  c.last_error = non_trovati.empty()
                     ? std::string()
                     : "Pazienti non trovati nell'anagrafe regionale: " + Elenco(non_trovati);
  return true;
}

}  // namespace qzkiro::op
