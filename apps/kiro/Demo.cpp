#include "Demo.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <sstream>

#include "DemoConsenso.h"
#include "DemoAssistiti.h"
#include "DemoCarePlan.h"
#include "DemoContatti.h"
#include "DemoFlussi.h"
#include "DemoFse.h"
#include "DemoPrelievi.h"
#include "DemoPdta.h"
#include "DemoRegione.h"
#include "DemoRicette.h"
#include "DemoServizi.h"
#include "LeggiLog.h"
#include "UiConsole.h"
#include "Verifica.h"
#include "core/Cartelle.h"
#include "core/Contesto.h"
#include "core/ServizioHost.h"
#include "core/modLog.h"
#include "net/clsAsserzione.h"
#include "net/clsSOAP.h"
#include "net/modHL7.h"
#include "qzkiro/Plugin.h"
#include "refhost/Applicazione.h"
#include "refhost/ConfigXML.h"
#include "refhost/ServizioKiro.h"
#include "sandbox/Ambiente.h"
#include "sandbox/server/ServerPostgres.h"
#include "util/File.h"
#include "util/ListaStringhe.h"

namespace qzkiro::kiro {

namespace fs = std::filesystem;

namespace {

fs::path CartellaDiLavoro(const std::string& dati_host) {
  std::string modello = (fs::temp_directory_path() / "kiro-demo-XXXXXX").string();
  if (!mkdtemp(modello.data())) throw std::runtime_error("cartella temporanea non creata");
  fs::copy(dati_host, modello, fs::copy_options::recursive);
  return modello;
}

void StampaSetup(const refhost::Applicazione& app, std::ostream& out) {
  out << "Valori di set-up scritti (" << app.ScrittureSetup().size() << "):\n";
  for (const auto& [nome, valore] : app.ScrittureSetup()) {
    out << "  " << nome << " = " << valore.ToText() << '\n';
  }
}

void StampaEventi(const refhost::Applicazione& app, std::ostream& out) {
  out << "Eventi generati (" << app.Eventi().size() << "):\n";
  for (const auto& [nome, valore] : app.Eventi()) out << "  " << nome << " = " << valore << '\n';
}

std::string Chiave(const sandbox::Ambiente& ambiente, const std::string& nome) {
  for (const auto& [chiave, valore] : ambiente.Chiavi()) {
    if (chiave == nome) return valore;
  }
  return {};
}

// The host's database: the server the PG* variables name (as under
// pg_virtualenv), else a throw-away PostgreSQL of our own; null, saying why,
// when neither is at hand, and the steps that need it say what they skip.
std::unique_ptr<sandbox::ServerPostgres> DatabaseDemo(std::ostream& out) {
  for (const char* nome : {"PGHOST", "PGSERVICE", "PGDATABASE"}) {
    if (std::getenv(nome) != nullptr) return nullptr;
  }
  try {
    auto server = std::make_unique<sandbox::ServerPostgres>();
    server->Esporta();
    out << "Database dell'host: server PostgreSQL di prova (socket in "
        << server->Cartella().string() << ")\n";
    return server;
  } catch (const std::exception& e) {
    out << "Database dell'host non disponibile: " << e.what() << '\n';
    return nullptr;
  }
}

constexpr const char* kQuerySaia =
    "<QRY_A19 xmlns=\"urn:hl7-org:v2xml\"><MSH><MSH.3><HD.1>KIRO</HD.1></MSH.3>"
    "<MSH.9><MSG.1>QRY</MSG.1><MSG.2>A19</MSG.2></MSH.9><MSH.10>MSG0001</MSH.10>"
    "<MSH.11><PT.1>P</PT.1></MSH.11><MSH.12><VID.1>2.5</VID.1></MSH.12></MSH>"
    "<QRF><QRF.5>BNCGLI80A41L736C</QRF.5></QRF></QRY_A19>";

// The console, with the demo's own answer to the credentials dialog.
class UiDemo : public UiConsole {
 public:
  using UiConsole::UiConsole;
  bool Credenziali(frmPasswordAsserzione& form) override {
    form.UserName = sandbox::Ambiente::kUtenteDemo;
    form.Password = sandbox::Ambiente::kPasswordDemo;
    if (form.IndiceResponsabile < 0) form.IndiceResponsabile = 0;
    return true;
  }
};

// Logs in to the sandbox's identity provider and shows the cache at work: the
// second request of the same context needs no new login.
void DemoAsserzione(sandbox::Ambiente& ambiente, Verifica& verifica, std::ostream& out) {
  auto& c = core::Ctx();
  const auto& pki = ambiente.Certificati();
  auto& s = c.settings;
  s.endpoint["iap"] = Chiave(ambiente, "client/iap");
  s.certificato = pki.Idp().string();
  s.certificato_tls = pki.ClientP12().string();
  s.password_tls = std::string(sandbox::Pki::kPassword);
  s.endpoint_ora = Chiave(ambiente, "sandbox/http");  // the sandbox tells the national time
  auto ui_precedente = c.ui;
  c.ui = std::make_shared<UiDemo>(out, std::cin, false);
  auto* servizio = dynamic_cast<net::clsAsserzione*>(c.servizio_asserzione.get());
  auto prima =
      servizio ? servizio->DaiAsserzione("demInvioPrescritto", "C.1.1", "", "", "", "") : nullptr;
  auto seconda =
      servizio ? servizio->DaiAsserzione("QueryReferto", "C.1.1", "", "", "", "") : nullptr;
  c.ui = ui_precedente;
  out << "Asserzione: "
      << (prima      ? prima->Asserzione.substr(0, 60) + "..."
          : servizio ? servizio->LastError()
                     : "")
      << "\n  login al provider: " << ambiente.Idp().Richieste().size()
      << ", asserzioni in cache: " << (servizio ? servizio->Cache().size() : 0) << '\n';
  verifica(prima && seconda == prima && ambiente.Idp().Richieste().size() == 1,
           "Login al provider di identità e riuso dell'asserzione in cache");
}

// The sandbox of the remote services in this process: one SOAP exchange and
// one HL7 message over TLS with the client certificate, then the same message
// answered by the simulator.
void DemoSandbox(Plugin& plugin, refhost::Applicazione& host, const fs::path& lavoro,
                 const OpzioniDemo& opzioni, Verifica& verifica, std::ostream& out) {
  const bool simulatore = opzioni.simulatore;
  sandbox::Ambiente ambiente(lavoro / "pki");
  if (!opzioni.registra.empty()) {
    ambiente.Server().RegistraScambi(opzioni.registra);
    out << "Scambi registrati in " << opzioni.registra << '\n';
  }
  const auto& pki = ambiente.Certificati();
  out << "Sandbox: " << Chiave(ambiente, "sandbox/eco") << '\n';

  net::clsSOAP soap;
  soap.URL = Chiave(ambiente, "sandbox/eco");
  soap.Action = "urn:kiro:eco";
  soap.Servizio = "Eco";
  soap.FileCertTLS = pki.ClientP12().string();
  soap.PasswordTLS = std::string(sandbox::Pki::kPassword);
  soap.CaBundle = pki.Ca().string();
  setenv("QZKIRO_CA_BUNDLE", pki.Ca().c_str(), 1);  // the sandbox's CA for every client
  const bool soap_ok =
      soap.Send("<soap:Envelope><soap:Body><Eco>Città</Eco></soap:Body></soap:Envelope>");
  out << "SOAP: HTTP " << soap.LastHttpError() << "  " << soap.Response() << soap.LastError()
      << '\n';
  verifica(soap_ok && soap.Response().find("urn:kiro:eco") != std::string::npos,
           "SOAP su TLS con certificato client");

  refhost::RegistraServizioKiro({Chiave(ambiente, "client/hl7"), pki.ClientP12().string(),
                                 std::string(sandbox::Pki::kPassword), pki.Ca().string()});
  auto& contesto = core::Ctx();
  const bool hl7_ok = net::InviaHL7("SAIA", true, "050503", kQuerySaia);
  out << "HL7 SAIA: ACK " << contesto.id_controllo_hl7 << contesto.last_error << '\n';
  verifica(hl7_ok && contesto.id_controllo_hl7.rfind("SBX", 0) == 0,
           "HL7 tramite il servizio dell'host e il gateway regionale");

  contesto.simulatore = true;
  const bool simulato = net::InviaHL7("SAIA", true, "050503", kQuerySaia);
  contesto.simulatore = false;
  out << "HL7 SAIA simulato: " << contesto.id_controllo_hl7 << '\n';
  verifica(simulato && contesto.id_controllo_hl7 == "SIMULATORE0001", "Risposta del simulatore");
  core::FermaServizioHost(contesto);

  DemoAsserzione(ambiente, verifica, out);
  auto& c = core::Ctx();
  auto ui_precedente = c.ui;
  c.ui = std::make_shared<UiDemo>(out, std::cin, false);
  DemoRicette(plugin, ambiente, lavoro / "ricette", verifica, out);
  c.ui = ui_precedente;

  refhost::RegistraServizioKiro({Chiave(ambiente, "client/hl7"), pki.ClientP12().string(),
                                 std::string(sandbox::Pki::kPassword), pki.Ca().string()});
  c.simulatore = simulatore;
  DemoRegione(plugin, verifica, out);
  DemoFse(plugin, ambiente, host, verifica, out);
  DemoConsenso(plugin, ambiente, host, verifica, out);
  DemoFlussi(plugin, ambiente, host, verifica, out);
  DemoCarePlan(plugin, ambiente, host, simulatore, verifica, out);
  DemoServizi(plugin, ambiente, simulatore, verifica, out);
  DemoContatti(plugin, ambiente, host, simulatore, verifica, out);
  DemoAssistiti(plugin, ambiente, host, simulatore, verifica, out);
  DemoPrelievi(plugin, ambiente, host, lavoro, verifica, out);
  DemoPdta(plugin, host, verifica, out);
  c.simulatore = false;
  core::FermaServizioHost(c);
}

}  // namespace

int Demo(const OpzioniDemo& opzioni, std::ostream& out) {
  setenv("QZKIRO_HOME", opzioni.cartella_plugin.c_str(), 0);
  auto& contesto = core::Ctx();
  contesto.ui = opzioni.ui ? opzioni.ui
                           : std::make_shared<UiConsole>(out, std::cin, isatty(STDIN_FILENO) != 0);

  const fs::path lavoro = CartellaDiLavoro(opzioni.dati_host);
  // The add-on's folder of this run is a copy: the demo adds files to it.
  fs::copy(core::CartellaPlugin(), lavoro / "plugin", fs::copy_options::recursive);
  setenv("QZKIRO_HOME", (lavoro / "plugin").c_str(), 1);
  const auto database = DatabaseDemo(out);
  auto host = std::make_shared<refhost::Applicazione>(lavoro);
  std::shared_ptr<host::IApplication> app = host;
  std::shared_ptr<host::IConfigXML> config = refhost::ConfigXML::DaFile(opzioni.config);
  std::string log_dir = (lavoro / "log").string();
  fs::create_directories(log_dir);
  Verifica verifica(out);

  out << "Host di prova: " << host->Utente().NomeCompleto() << " ("
      << host->Utente().CodiceFiscale() << "), dati in " << lavoro.string() << "\n";
  Plugin plugin;
  const bool avviato = plugin.Init(app, config, log_dir);
  verifica(avviato, "Init" + (avviato ? std::string() : ": " + plugin.LastError()));

  auto info = util::ListaStringhe::Carica(plugin.Info());
  verifica(info && info->Count() == 4, "Info: quattro voci");
  if (info) {
    out << "Info: debug=" << info->Item(1) << " disattivato=" << info->Item(2)
        << "\n      iap=" << info->Item(3) << "\n      invio=" << info->Item(4) << '\n';
    verifica(info->Item(3) == config->GetTextNode(config->rootNode(), "client/iap"),
             "Info: l'endpoint iap è quello della configurazione");
  }
  out << "Versione: " << plugin.Versione() << '\n';
  verifica(plugin.Versione().size() == 10, "Versione nel formato 00.00.0000");

  StampaSetup(*host, out);
  verifica(host->Setup("MostraCodicePPIP").ToInteger() == 3, "MostraCodicePPIP = 3");
  verifica(host->Setup("Dematerializzazione").ToBool(), "Dematerializzazione attiva");

  plugin.QZ05001("KIRO.Disattivato", "1");
  verifica(host->Eventi().empty(), "QZ05001 disattiva senza evento");
  plugin.QZ05001("KIRO.Disattivato", "0");
  verifica(host->Eventi().size() == 1 && host->Eventi()[0].second == "1",
           "QZ05001 riattiva con l'evento plgQZCoopApp.Enabled = 1");
  StampaEventi(*host, out);

  // The log: one entry with the configuration as attachment, read back.
  core::modLog::Log("Demo kiro", "Init e impostazioni verificate", false, opzioni.config);
  const fs::path estratti = lavoro / "estratti";
  std::ostringstream letto, errori;
  const fs::path file_log =
      fs::path(log_dir) / ("plgQZCoopApp_" + contesto.orologio->Adesso().Formato("dd") + ".mlg");
  out << "kiro log read " << file_log.string() << ":\n";
  const int esito = LeggiLog(file_log.string(), estratti.string(), letto, errori);
  out << letto.str() << errori.str();
  verifica(esito == 0 && util::LeggiFile((estratti / "config.xml").string()) ==
                             util::LeggiFile(opzioni.config),
           "Log cifrato riletto, allegato estratto identico");

  DemoSandbox(plugin, *host, lavoro, opzioni, verifica, out);

  std::error_code ignorato;
  fs::remove_all(lavoro, ignorato);
  out << (verifica.Errori() == 0 ? "Demo completata.\n" : "Demo con errori.\n");
  return verifica.Errori() == 0 ? 0 : 1;
}

}  // namespace qzkiro::kiro
