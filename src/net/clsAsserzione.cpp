#include "net/clsAsserzione.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>

#include "core/Contesto.h"
#include "core/Operazioni.h"
#include "core/modLog.h"
#include "net/CifraRSA.h"
#include "net/CredenzialiSalvate.h"
#include "net/ErroriServizio.h"
#include "net/MessaggiIdentita.h"
#include "net/OraRiferimento.h"
#include "net/clsSOAP.h"
#include "qzkiro/Moduli.h"
#include "qzkiro/Ui.h"

namespace qzkiro::net {

namespace {

// Services whose assertions serve one another.
constexpr std::string_view kServiziCondivisi =
    "demInvioPrescritto,demAnnullaPrescritto,QueryPaziente,QueryReferto";

bool Condiviso(const std::string& servizio) {
  if (servizio.empty()) return false;
  std::string_view lista = kServiziCondivisi;
  for (std::size_t at = 0; at <= lista.size();) {
    auto virgola = lista.find(',', at);
    if (virgola == std::string_view::npos) virgola = lista.size();
    if (lista.substr(at, virgola - at) == servizio) return true;
    at = virgola + 1;
  }
  return false;
}

bool StessoResponsabile(const clsItemAsserzione& item, const std::string& richiesto) {
  return richiesto.empty() || item.CFResponsabile == richiesto;
}

void Predefiniti(clsItemAsserzione& item) {
  if (item.Contesto.empty()) item.Contesto = "C.1.1";
  if (item.Ruolo.empty()) item.Ruolo = "R.1.1";
  if (item.Audience.empty()) item.Audience = "http://X-ServiceProvider";
}

// Step of the lookup for users who act for a doctor (host user types 2 to
// 4): the own doctor of the patient open on the host; "" for other users,
// with no patient open or a patient without a doctor.
std::string MedicoDelPazienteAperto() {
  auto& c = core::Ctx();
  if (!c.app) return {};
  const std::int16_t tipo = c.app->Utente().Tipo();
  if (tipo < 2 || tipo > 4) return {};
  auto paziente = c.app->Paziente();
  auto medico = paziente ? paziente->Medico() : nullptr;
  return medico ? medico->CodiceFiscale() : std::string();
}

}  // namespace

clsSOAP clsAsserzione::ClientProvider(const std::string& azione, const std::string& servizio) {
  const auto& c = core::Ctx();
  const auto& s = c.settings;
  clsSOAP soap;
  soap.URL = s.Endpoint("iap");
  soap.Action = azione;
  soap.ContentType = "application/soap+xml;charset=UTF-8";
  soap.Servizio = servizio;
  soap.ImpostaDaSettings(s);
  soap.FileLog = core::modLog::SoapDumpFileName(c);
  return soap;
}

std::string clsAsserzione::PreparaRichiesta(clsItemAsserzione& item) {
  auto& c = core::Ctx();
  item.LastError.clear();
  item.LastErrorCode.clear();
  item.Nonce = CreaNonce(*c.casuale);
  const util::DataOra t = clsAsserzione::OraRiferimento();
  item.TimeStamp = TimeStampSaml(t);
  item.TimeStamp1d = TimeStampSaml(t.PiuGiorni(1));
  return net::CreaIDMessaggio(*c.casuale);
}

bool clsAsserzione::RichiestaAsserzione(clsItemAsserzione& item) {
  const std::string id = PreparaRichiesta(item);
  const std::string& certificato = core::Ctx().settings.certificato;
  const std::string busta = BustaAutenticazione(
      item, id, CifraRSA(item.Nonce + item.TimeStamp + item.Password, certificato));
  clsSOAP soap =
      ClientProvider("urn:rve:AuthenticateAndGetAssertion", "AuthenticateAndGetAssertion");
  if (!soap.Send(busta)) {
    item.LastError = soap.LastError();
    if (auto errore = DecodificaErroreAsserzione(soap.LastErrorResponse())) {
      item.LastErrorCode = errore.codice;
      item.LastError = errore.messaggio;
    }
    return false;
  }
  if (!LeggiRispostaAutenticazione(soap.Response(), item)) return false;
  // The provider's assertion is valid from its issue instant: give it time.
  core::Ctx().orologio->Attendi(std::chrono::seconds(2));
  return true;
}

bool clsAsserzione::Autentica(clsItemAsserzione& item) {
  Predefiniti(item);
  if (!RichiestaAsserzione(item)) {
    const bool scaduta = item.LastErrorCode == "ERR_00056";
    if (!scaduta && item.LastErrorCode != "ERR_00061") {
      last_error_ = item.LastError;
      return false;
    }
    if (!AutenticaDopoCambio(item, scaduta)) return false;
  }
  // The host keeps the credentials that worked (also a just changed password).
  if (auto app = core::Ctx().app)
    app->Framework().SetCredenzialiSAR(item.UserName, item.Password, "");
  return true;
}

bool clsAsserzione::AutenticaDopoCambio(clsItemAsserzione& item, bool scaduta) {
  auto& c = core::Ctx();
  if (!c.app) {
    last_error_ = "Password KIRO Scaduta";
    return false;
  }
  const std::string domanda =
      std::string(scaduta ? "La password risulta essere scaduta."
                          : "La password deve essere cambiata.") +
      "\r\nPer accedere al servizio è necessarrio aggiornare la password.\r\n\r\n"
      "Aggiornare la password ora?";
  if (c.ui->MsgBox(domanda, core::stile::kSiNo | core::stile::kAvviso, "Autenticazione") !=
      core::risposta::kSi) {
    last_error_.clear();
    return false;
  }
  if (!UpdatePassword(item)) return false;
  if (RichiestaAsserzione(item)) return true;
  last_error_ = item.LastError;
  return false;
}

void clsAsserzione::ContestoDelegato(clsItemAsserzione& item) {
  if (item.CFUtente != item.CFResponsabile && item.Contesto == "C.1.1") item.Contesto = "C.1.2";
}

bool clsAsserzione::ChiediCredenziali(clsItemAsserzione& item) {
  auto& c = core::Ctx();
  auto& app = c.App();
  frmPasswordAsserzione form;
  // The doctor asked for (a delegate's responsible doctor) comes first,
  // else the user.
  const std::string proposto =
      item.CFResponsabile.empty() ? app.Utente().CodiceFiscale() : item.CFResponsabile;
  for (const auto& medico :
       host::Come<host::IArchivioUtenti>(app.Archivio("Utenti"), "Utenti")->Elenco()) {
    form.Responsabili.push_back({medico.CodiceFiscale, medico.NomeCompleto});
    if (medico.CodiceFiscale == proposto) {
      form.IndiceResponsabile = static_cast<int>(form.Responsabili.size()) - 1;
    }
  }
  if (auto salvate = CredenzialiSalvate::Leggi()) {
    form.UserName = salvate->utente;
    form.Password = salvate->password;
    form.Ricorda = true;
  }
  for (;;) {
    if (!c.ui->Credenziali(form)) return false;
    const std::string avviso = form.Valida();
    if (avviso.empty()) break;
    c.ui->MsgBox(avviso, core::stile::kAvviso, "KIRO");
  }
  if (form.Ricorda) CredenzialiSalvate{form.UserName, form.Password}.Salva();
  const std::int16_t tipo = app.Utente().Tipo();
  item.UserName = form.UserName;
  item.Password = form.Password;
  item.CFResponsabile = form.Scelto()->CodiceFiscale;
  item.CFUtente = item.Servizio == "FlussoACN" && tipo >= 2 && tipo <= 4
                      ? item.CFResponsabile
                      : app.Utente().CodiceFiscale();
  item.Struttura = app.Utente().CodiceStruttura();
  return true;
}

std::string clsAsserzione::CreaIDMessaggio() {
  return net::CreaIDMessaggio(*core::Ctx().casuale);
}

util::DataOra clsAsserzione::OraRiferimento() {
  return net::OraRiferimento();
}

void clsAsserzione::ControllaOrologio() {
  auto& c = core::Ctx();
  const util::DataOra adesso = c.orologio->Adesso();
  if (ultimo_controllo_ && adesso.SecondiDa(*ultimo_controllo_) <= 300) return;
  ultimo_controllo_ = adesso;
  if (!c.app) return;
  try {
    const auto esatta = util::DataOra::Leggi(c.App().Framework().TimeStampOraEsatta());
    if (!esatta) return;
    const long long scarto = std::llabs(esatta->SecondiDa(adesso));
    if (scarto < 60) return;
    c.ui->MsgBox(
        "OROLOGIO DEL PC DA SISTEMARE.\r\n\r\nE' stato rilevato un disallineamento di " +
            std::to_string(scarto) +
            " secondi rispetto all'ora esatta italiana.\r\nI servizi di KIRO richiedono "
            "che l'ora del PC sia esatta o con uno scostamento minimo.\r\nCorreggere l'ora "
            "del PC e impostarla in modo tale che sia automaticamente\r\nsincronizzata "
            "tramite internet.",
        core::stile::kAvviso, "KIRO");
  } catch (const std::exception&) {
    // The check never stops a request.
  }
}

std::shared_ptr<clsItemAsserzione> clsAsserzione::DaiAsserzione(
    const std::string& Servizio, const std::string& Contesto, const std::string& Ruolo,
    const std::string& Audience, const std::string& CFResponsabile, const std::string& CFPaziente,
    const std::string& TokenOTP) {
  ControllaOrologio();
  const std::string cf_responsabile =
      CFResponsabile.empty() ? MedicoDelPazienteAperto() : CFResponsabile;
  for (const auto& item : cache_) {
    if (item->Contesto == Contesto && item->CFPaziente == CFPaziente && item->OTP == TokenOTP &&
        StessoResponsabile(*item, cf_responsabile)) {
      return item;
    }
  }
  if (Condiviso(Servizio)) {
    for (const auto& item : cache_) {
      if (Condiviso(item->Servizio) && item->Contesto == Contesto &&
          item->CFPaziente == CFPaziente && StessoResponsabile(*item, cf_responsabile)) {
        return item;
      }
    }
    for (const auto& item : cache_) {
      if (!Condiviso(item->Servizio) || !StessoResponsabile(*item, cf_responsabile)) continue;
      auto clone = item->Clone();
      clone->Servizio = Servizio;
      clone->Contesto = Contesto;
      clone->Ruolo = Ruolo;
      clone->Audience = Audience;
      clone->CFPaziente = CFPaziente;
      clone->OTP = TokenOTP;
      if (!Autentica(*clone)) return nullptr;
      cache_.push_back(clone);
      return clone;
    }
  }
  return NuovaAsserzione(Servizio, Contesto, Ruolo, Audience, "", CFPaziente, cf_responsabile,
                         TokenOTP);
}

std::shared_ptr<clsItemAsserzione> clsAsserzione::NuovaAsserzione(
    const std::string& Servizio, const std::string& Contesto, const std::string& Ruolo,
    const std::string& Audience, const std::string& TipologiaAutenticazione,
    const std::string& CFPaziente, const std::string& CFResponsabile, const std::string& TokenOTP) {
  auto item = std::make_shared<clsItemAsserzione>();
  item->Servizio = Servizio;
  item->Contesto = Contesto;
  item->Ruolo = Ruolo;
  item->Audience = Audience;
  item->TipologiaAutenticazione = TipologiaAutenticazione.empty() ? "A.1" : TipologiaAutenticazione;
  item->CFPaziente = CFPaziente;
  item->CFResponsabile = CFResponsabile;
  item->OTP = TokenOTP;
  if (item->TipologiaAutenticazione != "A.1") {
    last_error_ = "Tipologia autenticazione non prevista";
    return nullptr;
  }
  const auto& r = ricordate_;
  const bool host = core::Ctx().app != nullptr;
  // Without a host the remembered login serves every request; with a host
  // only a complete one, and only for its own responsible doctor.
  const bool ricordate =
      !r.utente.empty() && !r.password.empty() &&
      (!host || (!r.cf_responsabile.empty() && !r.cf_utente.empty() &&
                 (CFResponsabile.empty() || CFResponsabile == r.cf_responsabile)));
  Predefiniti(*item);
  if (ricordate) {
    item->UserName = r.utente;
    item->Password = r.password;
    item->CFResponsabile = r.cf_responsabile;
    item->CFUtente = r.cf_utente;
  } else if (!host) {
    last_error_ = "Credenziali di accesso non disponibili: inserire utente e password";
    return nullptr;
  } else if (!ChiediCredenziali(*item)) {
    last_error_.clear();
    return nullptr;
  }
  ContestoDelegato(*item);
  if (!Autentica(*item)) return nullptr;
  Ricorda(item->UserName, item->Password, item->CFResponsabile, item->CFUtente);
  cache_.push_back(item);
  return item;
}

std::shared_ptr<clsItemAsserzione> clsAsserzione::NuovaAsserzione(
    const std::string& servizio, const std::string& contesto, const std::string& cf_paziente,
    const std::string& cf_responsabile) {
  return NuovaAsserzione(servizio, contesto, "", "", "", cf_paziente, cf_responsabile);
}

bool clsAsserzione::AggiornaAsserzione(clsItemAsserzione& item) {
  return Autentica(item);
}

void clsAsserzione::EliminaAsserzione(const clsItemAsserzione& item) {
  std::erase_if(cache_, [&](const auto& voce) { return voce.get() == &item; });
}

void clsAsserzione::Ricorda(const std::string& utente, const std::string& password,
                            const std::string& cf_responsabile, const std::string& cf_utente) {
  ricordate_ = {utente, password, cf_responsabile, cf_utente};
}

}  // namespace qzkiro::net
