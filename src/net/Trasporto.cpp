#include "net/Trasporto.h"

#include <filesystem>

#include "core/Contesto.h"
#include "core/modLog.h"
#include "core/modSimulator.h"
#include "net/ErroriServizio.h"
#include "qzkiro/Ui.h"
#include "util/File.h"

namespace qzkiro::net {

namespace {

bool Uguale(std::string a, const std::string& b) {
  for (auto& c : a) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return a == b;
}

}  // namespace

Trasporto::~Trasporto() {
  SvuotaTraccia();
}

void Trasporto::ImpostaDaSettings(const core::PluginSettings& settings) {
  ProxyHost = settings.proxy_host;
  ProxyPort = settings.proxy_port;
  ProxyUsername = settings.proxy_username;
  ProxyPassword = settings.proxy_password;
  FileCertTLS = settings.certificato_tls;
  PasswordTLS = settings.password_tls;
}

void Trasporto::Azzera() {
  response_.clear();
  last_error_.clear();
  last_error_response_.clear();
  last_http_error_ = "0";
  response_content_type_.clear();
}

RichiestaHttp Trasporto::Base(long connessione_predefinita_ms) const {
  RichiestaHttp r;
  r.url = URL;
  if (!ProxyHost.empty()) {
    if (Uguale(ProxyHost, "ie")) {
      r.proxy_sistema = true;
    } else {
      r.proxy_host = ProxyHost;
      r.proxy_porta = ProxyPort;
      r.proxy_utente = ProxyUsername;
      r.proxy_password = ProxyPassword;
    }
  } else {
    r.proxy_sistema = UseIEProxy;
  }
  r.utente = UserName;
  r.password = Password;
  r.timeout_connessione_ms =
      ConnectTimeOut > 0 ? ConnectTimeOut * 1000L : connessione_predefinita_ms;
  if (ReadTimeOut > 0) r.timeout_lettura_ms = ReadTimeOut * 1000L;
  if (Cert) {
    r.certificato_pem = Cert->certificato;
    r.chiave_pem = Cert->chiave;
    r.password_chiave = Cert->password;
  }
  r.certificato_p12 = FileCertTLS;
  r.password_p12 = PasswordTLS;
  r.ca_bundle = CaBundle;
  r.file_traccia = FileLog;
  return r;
}

void Trasporto::SvuotaTraccia() const {
  if (FileLog.empty()) return;
  std::error_code ignorato;
  if (std::filesystem::exists(FileLog, ignorato))
    std::filesystem::resize_file(FileLog, 0, ignorato);
}

void Trasporto::RegistraTraccia() const {
  if (FileLog.empty()) return;
  core::modLog::Log("ChilkatHttpResponse", "", false, FileLog);
  SvuotaTraccia();
}

bool Trasporto::Scambio(const std::string& titolo, const std::string& voce, bool traccia,
                        const std::function<bool()>& invia) {
  using core::modLog::Log;
  try {
    Azzera();
    Log(titolo + " " + Servizio);
    Log("URL: " + URL);
    Log(voce);
    if (traccia) SvuotaTraccia();
    const bool ok = Simulato() || invia();
    if (traccia) RegistraTraccia();
    return ok;
  } catch (const std::exception& errore) {
    last_error_ = errore.what();
    return false;
  }
}

bool Trasporto::Invia(const RichiestaHttp& richiesta, FormaScambio forma) {
  using core::modLog::Log;
  RispostaHttp risposta = Esegui(richiesta);
  const EsitoScambio esito = ClassificaRisposta(forma, risposta);
  const std::string stato = std::to_string(risposta.stato);
  const bool binario = forma == FormaScambio::kSoapBinario;
  const bool cns = forma == FormaScambio::kSoapCns;
  response_content_type_ = risposta.Intestazione("Content-Type");
  // A byte body's and the other client's answers are kept whatever they say;
  // a byte body's status even when nothing came.
  if (binario || cns) response_ = risposta.corpo;
  if (binario || (risposta.ricevuta && !cns)) last_http_error_ = stato;
  if (cns) Log("Response", response_);
  if (esito == EsitoScambio::kRiuscito) {
    if (cns) return true;
    response_ = std::move(risposta.corpo);  // a document may be large: no copy
    Log("Response", response_);
    if (!binario && !ResponseToFile.empty() &&
        !util::ScriviFile(ResponseToFile, {response_})) {
      last_error_ = "Non è stato possibile salvare la risposta su " + ResponseToFile;
    }
    return true;
  }
  last_error_response_ = risposta.ricevuta || binario ? risposta.corpo : risposta.errore;
  if (!cns) Log("Response StatusCode: " + stato, last_error_response_, true);
  if (esito == EsitoScambio::kFaultSoap) response_.clear();
  last_error_ = MessaggioEsito(esito, risposta);
  return false;
}

bool Trasporto::Simulato() {
  auto& c = core::Ctx();
  if (!c.simulatore) return false;
  bool fatto = false;
  long stato = 0;
  response_ = core::modSimulator::RispostaSimulata(c, fatto, stato, true, Servizio, "", "", "");
  return true;
}

namespace {

constexpr int kOKAnnullaAvviso = core::stile::kOKAnnulla | core::stile::kAvviso;
constexpr const char* kAnnullata = "Operazione annullata dall'utente";

bool Domanda(const std::string& messaggio, const std::string& seguito) {
  return core::Ctx().ui->MsgBox(messaggio + "\r\n\r\n" + seguito, kOKAnnullaAvviso,
                                "Autenticazione") == core::risposta::kOK;
}

}  // namespace

bool Trasporto::ConAsserzione(clsItemAsserzione& item, bool riprova,
                              const std::function<bool(const clsItemAsserzione&)>& invia) {
  auto& servizio = *core::Ctx().servizio_asserzione;
  for (int passo = 1;; ++passo) {
    if (Simulato()) return true;
    ErroreServizio errore;
    if (invia(item)) {
      errore = DecodificaErroreAsserzione(response_);
      if (!errore) return true;
    } else {
      const bool timeout = last_error_.find("timeout") != std::string::npos ||
                           last_error_response_.find("timeout") != std::string::npos ||
                           last_error_response_.find("Timeout waiting") != std::string::npos;
      errore = timeout ? ErroreServizio{"Timeout", last_error_}
                       : DecodificaErroreAsserzione(last_error_response_);
      if (!errore) return false;
    }
    if (passo >= 2) {
      last_error_ = errore.codice + " - " + errore.messaggio;
      return false;
    }
    bool rinnovata = false;
    if (errore.codice == "ERR_00032" || errore.codice == "7007") {
      rinnovata = servizio.AggiornaAsserzione(item);
    } else if (errore.codice == "ERR_00044") {
      if (!Domanda(errore.messaggio,
                   "Per procedere è necessario rifare l'autenticazione.\r\nFare clic su OK per "
                   "procedere o Annulla per interrompere l'invio")) {
        last_error_ = kAnnullata;
        return false;
      }
      servizio.EliminaAsserzione(item);
      auto nuova = servizio.NuovaAsserzione(item.Servizio, item.Contesto, item.CFPaziente,
                                            item.CFResponsabile);
      if (nuova) item = *nuova;
      rinnovata = nuova != nullptr;
    } else if (errore.codice == "ERR_00056") {
      if (!Domanda(errore.messaggio, "Aggiornare la password ora?")) {
        last_error_ = kAnnullata;
        return false;
      }
      rinnovata = servizio.UpdatePassword(item);
    } else {
      last_error_ = errore.codice + " - " + errore.messaggio;
      return false;
    }
    if (!rinnovata) {
      last_error_ = servizio.LastError();
      return false;
    }
    if (!riprova) {
      last_error_ = "Retry";
      return false;
    }
  }
}

}  // namespace qzkiro::net
