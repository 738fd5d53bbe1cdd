#include "net/SecondoFattore.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cctype>

#include "core/Contesto.h"
#include "net/RotteNet.h"
#include "net/clsAsserzione.h"
#include "net/clsREST.h"

namespace qzkiro::net {

namespace {

// The users whose sessions go to the test instance of the service.
constexpr std::array<std::string_view, 2> kUtentiDiProva = {"PROVAX00X00X000Y", "TSTSMN63A01F205H"};

bool Contiene(std::string testo, std::string cosa) {
  auto minuscolo = [](std::string& s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  };
  minuscolo(testo);
  minuscolo(cosa);
  return testo.find(cosa) != std::string::npos;
}

std::string Minuscolo(std::string testo) {
  std::transform(testo.begin(), testo.end(), testo.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return testo;
}

bool Fallito(const std::string& errore) {
  auto& c = core::Ctx();
  c.last_error = errore;
  c.ui->MsgBox(errore, core::stile::kAvviso, "KIRO");
  return false;
}

}  // namespace

bool Richiesto2F() {
  return core::Ctx().App().Setup("Autenticazione2F").ToBool();
}

bool ChiediToken2F() {
  if (!Richiesto2F()) return true;
  return core::Ctx().App().Framework().AutenticazioneMef2F("KIRO", "Richiedi nuovo Token",
                                                           "Autenticazione a due fattori");
}

std::string Token2F() {
  return core::Ctx().App().Framework().TokenMef2F();
}

bool ErroreToken2F() {
  auto& c = core::Ctx();
  const std::string errore = c.last_error;
  if (errore.empty() || Token2F().empty() || !Richiesto2F()) return false;
  if (!Contiene(errore, "codice OTP scaduto o non valido") &&
      !Contiene(errore, "autenticazione due fattori")) {
    return false;
  }
  c.ui->MsgBox(errore + ".\r\nSeguirà la richiesta di un nuovo codice", core::stile::kAvviso,
               "KIRO");
  ImpostaToken2F("");
  return true;
}

bool ImpostaToken2F(const std::string& token) {
  auto& c = core::Ctx();
  const auto scadenza = c.orologio->Adesso().PiuSecondi(8 * 3600L);
  c.App().Framework().ImpostaTokenMef2F(token, scadenza.Formato("yyyy-mm-dd hh\\:nn\\:ss"));
  return true;
}

bool ConToken2F(const std::function<bool(const std::string& token)>& chiamata) {
  // A refused token that a new one replaces is no failure of the call: the
  // repeated call starts from the last error as it was.
  const std::string errore_prima = core::Ctx().last_error;
  for (int tentativo = 1;; ++tentativo) {
    core::Ctx().last_error = errore_prima;
    const bool richiesto = Richiesto2F();
    if (richiesto && Token2F().empty() && !ChiediToken2F()) {
      core::Ctx().last_error = "Operazione annullata dall'utente";
      return false;
    }
    if (chiamata(richiesto ? Token2F() : std::string())) return true;
    if (tentativo == 2 || !ErroreToken2F()) return false;
  }
}

bool InviaIDSessione() {
  auto& c = core::Ctx();
  auto* servizio = dynamic_cast<clsAsserzione*>(c.servizio_asserzione.get());
  auto item = servizio ? servizio->DaiAsserzione("GetOTP", "C.1.1", "", "", "", "") : nullptr;
  if (!item) {
    c.last_error = c.servizio_asserzione ? c.servizio_asserzione->LastError() : "";
    return false;
  }
  auto& app = c.App();
  const std::string utente = app.Utente().CodiceFiscale();
  // A user acting for a doctor (types 2 to 4) runs the session on behalf of
  // the responsible doctor of the assertion.
  const std::int16_t tipo = app.Utente().Tipo();
  const bool delegato = tipo >= 2 && tipo <= 4 && !item->CFResponsabile.empty();
  const nlohmann::json richiesta = {
      {"idSessione", "urn:uuid:" + Minuscolo(app.Framework().GetSmartGUID())},
      {"applicazione", item->ApplicationID()},
      {"idUtente", delegato ? item->CFResponsabile : utente}};
  const auto& s = c.settings;
  const bool prova =
      std::find(kUtentiDiProva.begin(), kUtentiDiProva.end(), utente) != kUtentiDiProva.end();
  clsREST rest;
  rest.Method = "POST";
  rest.URL = (prova ? s.endpoint_mfa_test : s.endpoint_mfa) + "/mfaapplicativo/richiesta";
  rest.AcceptEncoding = "deflate";
  rest.ContentType = "application/json";
  rest.Accept = "application/json";
  rest.Servizio = "GetOTP";
  rest.ImpostaDaSettings(s);
  if (!rest.SendAsserzione(richiesta.dump(), *item, true, false)) {
    std::string errore = rest.LastError();
    if (errore.rfind("Timeout", 0) == 0) {
      errore +=
          "\r\nPotrebbe trattarsi di un problema momentaneo. Si consiglia di riprovare più "
          "tardi";
    }
    return Fallito(errore);
  }
  const auto risposta = nlohmann::json::parse(rest.Response(), nullptr, false);
  if (risposta.is_discarded() || !risposta.is_object()) {
    return Fallito("Non è stato possibile leggere la risposta");
  }
  if (risposta.value("stato", "") == "OK") return true;
  return Fallito(risposta.value("esito", ""));
}

}  // namespace qzkiro::net

namespace qzkiro::op {

bool InviaIDSessione() {
  return net::InviaIDSessione();
}

bool ImpostaToken(host::Variant& Params) {
  return net::ImpostaToken2F(Params.ToText());
}

}  // namespace qzkiro::op
