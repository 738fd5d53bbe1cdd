#include "core/Avvio.h"

#include "core/Cartelle.h"
#include "core/CostantiCifrate.h"
#include "core/Impostazioni.h"
#include "core/ServizioHost.h"
#include "core/modSimulator.h"
#include "qzkiro/Failure.h"

namespace qzkiro::core {

const char* const kMessaggioCatalogo =
    "ATTENZIONE: Non è stato possibile attivare la ricetta dematerializzata specialistica\r\n"
    "in quanto il catalogo in uso non è aggiornato al nuovo CVP\r\n"
    "della Regione Veneto.\r\n"
    "\r\n"
    "Avviare l'auto-aggiornamento di Curalis per aggiornare l'archivio e al termine\r\n"
    "chiudere e riavviare Curalis.";

namespace {

// Number of a failure that is not a host Failure (an automation error).
constexpr long kErroreAutomazione = 440;
constexpr long kOggettoNonImpostato = 91;

void VerificaArchivi(Contesto& c) {
  auto& app = c.App();
  if (app.Archivio("Esami")->Versione().empty() || app.Archivio("Visite")->Versione().empty()) {
    c.ui->MsgBox(kMessaggioCatalogo, stile::kInformazione, "KIRO");
    app.SetSetup("DematEsami", false);
  }
}

void VerificaInformativaFSE(Contesto& c) {
  auto& s = c.settings;
  if (FileEsiste(PercorsoPlugin("\\FSEr - Informativa_versione aprile 2016.pdf"))) {
    s.fse_attivo = true;
    s.check_consenso_fse = c.App().Utente().Items().GetItem("KIRO.CheckFSE") != "1";
    c.App().SetSetup("ConsensoFSE", "Consenso FSEr Veneto");
  } else {
    s.fse_attivo = false;
    s.check_consenso_fse = false;
  }
}

void Passi(Contesto& c, host::IConfigXML& xml, const std::string& log_dir) {
  LeggiImpostazioniUtente(c);
  LeggiEndpoint(c, xml);
  ScriviSetup(c);
  LeggiProxy(c);
  VerificaArchivi(c);
  auto& app = c.App();
  c.settings.log_dir = log_dir;
  c.settings.temp_dir = app.Utente().TempDir();
  c.settings.demat_bianca_farmaci = app.Setup("DematBiancaFarmaci").ToBool();
  if (c.settings.disattivato) app.GeneraEvento("plgQZCoopApp.Enabled", "0");
  app.SetSetup("MostraCodicePPIP", 3);
  VerificaInformativaFSE(c);
  ApplicaConfigurazioneTest(c, xml);
  if (FileEsiste(PercorsoPlugin("\\IP_KR.csv"))) c.rotte.CaricaIndicazioniErmete();
  c.simulatore = modSimulator::LeggiAttivo();
}

}  // namespace

void InizializzaClasse(Contesto& c) {
  if (c.rotte.CreaServizioAsserzione) c.servizio_asserzione = c.rotte.CreaServizioAsserzione();
  c.chiave_protezione_1 = DecifraCostante(kChiaveProtezione1Cifrata);
  c.chiave_protezione_2 = DecifraCostante(kChiaveProtezione2Cifrata);
}

bool Avvia(Contesto& c, std::shared_ptr<host::IApplication> app,
           std::shared_ptr<host::IConfigXML> xml, const std::string& log_dir) {
  try {
    c.app = std::move(app);
    if (!c.app || !xml) throw Failure(kOggettoNonImpostato, "Variabile oggetto non impostata");
    Passi(c, *xml, log_dir);
    return true;
  } catch (const Failure& failure) {
    c.last_error =
        "Init QZKiro: " + std::to_string(failure.Number()) + " - " + failure.Description();
  } catch (const std::exception& error) {
    c.last_error = "Init QZKiro: " + std::to_string(kErroreAutomazione) + " - " + error.what();
  }
  return false;
}

void Termina(Contesto& c) {
  if (!c.simulatore) FermaServizioHost(c);
  c.app.reset();
  c.risposta_regionale.reset();
  c.last_response.reset();
  c.servizio_asserzione.reset();
  c.servizio_host.reset();
}

}  // namespace qzkiro::core
