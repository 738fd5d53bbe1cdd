// The identity service against the sandbox's identity provider.

#include <gtest/gtest.h>

#include <regex>

#include <cstdlib>
#include <map>

#include "net/CredenzialiSalvate.h"
#include "net/MessaggiIdentita.h"
#include "net/OraRiferimento.h"
#include "net/SecondoFattore.h"
#include "net/clsAsserzione.h"
#include "net/clsSOAP.h"
#include "qzkiro/Plugin.h"

#include <nlohmann/json.hpp>
#include "integration/AmbienteRicette.h"
#include "qzkiro/Moduli.h"
#include "sandbox/Ambiente.h"
#include "sandbox/server/ServerProxy.h"

namespace qzkiro::net {
namespace {

constexpr const char* kMedico = "RSSMRA70A01L736S";
constexpr const char* kDelegato = "VRDLCU55C12F205S";

// The environment's proxy variables (the system proxy here) for one test.
class ProxyDiSistema {
 public:
  explicit ProxyDiSistema(const std::string& url) {
    for (const char* nome : kNomi) {
      if (const char* valore = std::getenv(nome)) salvate_[nome] = valore;
      unsetenv(nome);
    }
    setenv("http_proxy", url.c_str(), 1);
  }
  ~ProxyDiSistema() {
    for (const char* nome : kNomi) unsetenv(nome);
    for (const auto& [nome, valore] : salvate_) setenv(nome.c_str(), valore.c_str(), 1);
  }

 private:
  static constexpr const char* kNomi[] = {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY",
                                          "all_proxy",  "ALL_PROXY",  "no_proxy",    "NO_PROXY"};
  std::map<std::string, std::string> salvate_;
};

// The sandbox's identity provider knows "mrossi", whom the identity service
// remembers; the sandbox has no time service: the PC's clock stamps.
class AsserzioneIdpTest : public ::testing::Test, protected testsupport::AmbienteRicette {
 protected:
  std::shared_ptr<clsAsserzione>& servizio_ = identita_;
};

TEST_F(AsserzioneIdpTest, OneLoginServesTheRequestsOfTheSameContext) {
  auto prima = servizio_->DaiAsserzione("demInvioPrescritto", "C.1.1", "", "", "", "");
  ASSERT_NE(prima, nullptr) << servizio_->LastError();
  EXPECT_TRUE(prima->Asserzione.starts_with("<saml:Assertion "));
  ASSERT_EQ(idp_.Richieste().size(), 1u);
  const auto richiesta = idp_.Richieste()[0];
  EXPECT_EQ(richiesta.password, "Segreta.1") << "decrypted with the provider's key";
  EXPECT_EQ(richiesta.nonce.size(), 24u);
  EXPECT_EQ(richiesta.creato, "2026-12-06T09:30:00Z") << "UTC of the fixed clock";
  EXPECT_EQ(richiesta.attributi.at("RequestContext"), "C.1.1");
  EXPECT_EQ(richiesta.attributi.count("codOTP"), 0u) << "no second factor, no code";
  EXPECT_EQ(richiesta.audience, "http://X-ServiceProvider");

  EXPECT_EQ(servizio_->DaiAsserzione("demInvioPrescritto", "C.1.1", "", "", "", ""), prima);
  EXPECT_EQ(servizio_->DaiAsserzione("QueryPaziente", "C.1.1", "", "", kMedico, ""), prima);
  EXPECT_EQ(servizio_->DaiAsserzione("QueryReferto", "C.1.1", "", "", "", ""), prima);
  auto paziente = servizio_->DaiAsserzione("QueryReferto", "C.1.1", "R.2.1", "http://X", "",
                                           "BNCGLI80A41L736C");
  ASSERT_NE(paziente, nullptr);
  EXPECT_NE(paziente, prima);
  EXPECT_EQ(paziente->Ruolo, "R.2.1") << "a given role is kept";
  EXPECT_EQ(prima->Ruolo, "R.1.1") << "the default role";
  EXPECT_EQ(idp_.Richieste().back().attributi.at("PatientID"), "BNCGLI80A41L736C");
  EXPECT_EQ(servizio_->Cache().size(), 2u);

  servizio_->EliminaAsserzione(*paziente);
  EXPECT_EQ(servizio_->Cache().size(), 1u);
  EXPECT_EQ(idp_.Richieste().size(), 2u);
}

TEST_F(AsserzioneIdpTest, RefusedCredentialsExpiredPasswordAndItsChange) {
  env_.Contesto().app = nullptr;  // without a host nothing is asked
  servizio_->Ricorda("mrossi", "sbagliata", kMedico, kMedico);
  EXPECT_EQ(servizio_->DaiAsserzione("FlussoACN", "C.1.1", "", "", "", ""), nullptr);
  EXPECT_EQ(servizio_->LastError(), "Credenziali Errate");

  idp_.AggiungiUtente("mrossi", "Vecchia.1", true);
  servizio_->Ricorda("mrossi", "Vecchia.1", kMedico, kDelegato);
  EXPECT_EQ(servizio_->DaiAsserzione("FlussoACN", "C.1.1", "", "", "", ""), nullptr);
  EXPECT_EQ(servizio_->LastError(), "Password KIRO Scaduta");
  EXPECT_EQ(ContestoIdp(), "C.1.2")
      << "a delegate acts for the responsible doctor";

  clsItemAsserzione item;
  item.UserName = "mrossi";
  item.Password = "sbagliata";
  EXPECT_FALSE(servizio_->CambiaPassword(item, "Nuova.2"));
  EXPECT_EQ(servizio_->LastError(), "Aggiornamento password non riuscito\r\nCredenziali Errate")
      << "the provider's fault, reason and description";
  EXPECT_EQ(idp_.Password("mrossi"), "Vecchia.1");
  item.Password = "Vecchia.1";
  ASSERT_TRUE(servizio_->CambiaPassword(item, "Nuova.2")) << servizio_->LastError();
  EXPECT_EQ(idp_.Password("mrossi"), "Nuova.2");
  EXPECT_EQ(item.Password, "Nuova.2");

  EXPECT_EQ(servizio_->DaiAsserzione("FlussoACN", "C.1.1", "", "", "", ""), nullptr);
  EXPECT_EQ(servizio_->LastError(), "Il responsabile o l'utente non possono accedere al Servizio")
      << "the provider knows no delegation from that doctor";
  idp_.AggiungiDelega(kDelegato, kMedico);
  EXPECT_NE(servizio_->DaiAsserzione("FlussoACN", "C.1.1", "", "", "", ""), nullptr)
      << servizio_->LastError();
  EXPECT_EQ(idp_.Richieste().back().password, "Nuova.2") << "the new password is remembered";
}

TEST_F(AsserzioneIdpTest, AnExpiredAssertionIsRenewedByTheProviderAndSentAgain) {
  auto item = servizio_->DaiAsserzione("demInvioPrescritto", "C.1.1", "", "", "", "");
  ASSERT_NE(item, nullptr);
  const std::string vecchia = item->Asserzione;
  server_.Registra("POST", "/mef", [](const sandbox::Richiesta& r) {
    return sandbox::Risposta{200, "<ok>" + std::to_string(r.corpo.size()) + "</ok>", "text/xml"};
  });
  server_.ProgrammaGuasto("/mef",
                          sandbox::Guasto::Stato(500, "<faultstring>ERR_00032</faultstring>"));
  clsSOAP soap;
  soap.URL = server_.Url("/mef");
  soap.FileCertTLS = pki_.ClientP12().string();
  soap.PasswordTLS = std::string(sandbox::Pki::kPassword);
  ASSERT_TRUE(soap.SendAsserzione("<h>[Asserzione]</h>", *item, false, true)) << soap.LastError();
  EXPECT_NE(item->Asserzione, vecchia);
  EXPECT_EQ(idp_.Richieste().size(), 2u);
  EXPECT_NE(server_.Richieste("/mef").back().corpo.find(item->Asserzione), std::string::npos);
}

TEST_F(AsserzioneIdpTest, TheClockCheckWarnsOnAMinuteOfDifferenceAtMostEveryFiveMinutes) {
  auto& framework = env_.Host()->Framework();
  auto& orologio = env_.Orologio();  // 2026-12-06 10:30:00 local
  framework.ImpostaOraEsatta("2026-12-06 10:30:59");
  servizio_->ControllaOrologio();
  EXPECT_TRUE(env_.Ui().Mostrati().empty()) << "59 seconds are tolerated";

  framework.ImpostaOraEsatta("06/12/2026 10:34:00");
  orologio.Imposta({2026, 12, 6, 10, 35, 0});
  servizio_->ControllaOrologio();
  EXPECT_TRUE(env_.Ui().Mostrati().empty()) << "checked again only after 300 seconds";
  orologio.Imposta({2026, 12, 6, 10, 35, 1});
  framework.ImpostaOraEsatta("06/12/2026 10:34:01");
  servizio_->ControllaOrologio();
  ASSERT_EQ(env_.Ui().Mostrati().size(), 1u);
  EXPECT_EQ(env_.Ui().Mostrati()[0].titolo, "KIRO");
  EXPECT_NE(env_.Ui().Mostrati()[0].testo.find("disallineamento di 60 secondi"), std::string::npos);

  framework.ImpostaOraEsatta("non una data");
  orologio.Imposta({2026, 12, 6, 11, 0, 0});
  auto item = servizio_->DaiAsserzione("demInvioPrescritto", "C.1.1", "", "", "", "");
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(env_.Ui().Mostrati().size(), 1u);
  EXPECT_EQ(framework.CredenzialiSAR().first, "mrossi") << "the host learns the credentials";
}

TEST_F(AsserzioneIdpTest, SecondFactorTokensAndTheSessionAnnouncement) {
  auto& host = *env_.Host();
  EXPECT_TRUE(ChiediToken2F()) << "no second factor required";
  EXPECT_EQ(host.Framework().RichiesteToken(), 0);

  host::Variant operazione("ImpostaToken"), token("123456");
  EXPECT_TRUE(plugin_.QZ01028(operazione, token));
  EXPECT_EQ(Token2F(), "123456");
  EXPECT_EQ(host.Framework().ScadenzaToken(), "2026-12-06 18:30:00");

  auto item = servizio_->DaiAsserzione("demInvioPrescritto", "C.1.1", "", "", "", "", Token2F());
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(idp_.Richieste().back().attributi.at("codOTP"), "123456");

  env_.Contesto().last_error = "Errore 4001: Codice OTP SCADUTO o non valido";
  EXPECT_FALSE(ErroreToken2F()) << "the second factor is off";
  host.SetSetup("Autenticazione2F", true);
  EXPECT_TRUE(ErroreToken2F());
  EXPECT_EQ(Token2F(), "");
  EXPECT_EQ(
      env_.Ui().Mostrati().back().testo,
      "Errore 4001: Codice OTP SCADUTO o non valido.\r\nSeguirà la richiesta di un nuovo codice");
  EXPECT_FALSE(ChiediToken2F()) << "the host's dialog was dismissed";
  host.Framework().PreparaToken2F("654321");
  EXPECT_TRUE(ChiediToken2F());
  EXPECT_EQ(Token2F(), "654321");

  std::string esito = R"({"stato":"OK"})";
  server_.Registra("POST", "/mfaapplicativo/richiesta", [&](const sandbox::Richiesta& r) {
    const auto json = nlohmann::json::parse(r.corpo);
    const bool autorizzato =
        r.Intestazione("Authorization").starts_with("IHE-SAML ") && json.at("idUtente") == kMedico;
    return sandbox::Risposta{200, autorizzato ? esito : R"({"stato":"KO","esito":"no"})",
                             "application/json"};
  });
  env_.Contesto().settings.endpoint_mfa = server_.Url("");
  operazione = "InviaIDSessione";
  host::Variant nessuno;
  EXPECT_TRUE(plugin_.QZ01028(operazione, nessuno)) << env_.Contesto().last_error;
  const auto inviata =
      nlohmann::json::parse(server_.Richieste("/mfaapplicativo/richiesta").at(0).corpo);
  // The host's GUID, which it writes in upper case, goes in lower case.
  EXPECT_TRUE(std::regex_match(inviata.at("idSessione").get<std::string>(),
                               std::regex("urn:uuid:[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-"
                                          "[0-9a-f]{12}")))
      << inviata.at("idSessione");
  EXPECT_EQ(inviata.at("applicazione"), "urn:uuid:010ba07a-5fbf-4a86-8364-9a026ab3be3e");
  esito = R"({"stato":"KO","esito":"Utente non abilitato al servizio"})";
  EXPECT_FALSE(plugin_.QZ01028(operazione, nessuno));
  EXPECT_EQ(env_.Contesto().last_error, "Utente non abilitato al servizio");
  esito = "non json";
  EXPECT_FALSE(plugin_.QZ01028(operazione, nessuno));
  EXPECT_EQ(env_.Contesto().last_error, "Non è stato possibile leggere la risposta");
}

TEST_F(AsserzioneIdpTest, TimeStampsFollowTheNationalTimeReference) {
  std::string risposta = "1765013460\nit\n3600\nCET\n2026-12-06 10:31:00\n";
  server_.Registra("GET", "/inrim-web/ntp/itRefTime.php", [&](const sandbox::Richiesta&) {
    return sandbox::Risposta{200, risposta, "text/plain"};
  });
  env_.Contesto().settings.endpoint_ora = server_.UrlHttp();
  EXPECT_EQ(TimeStampSaml(clsAsserzione::OraRiferimento()), "2026-12-06T09:31:00Z");
  auto item = servizio_->DaiAsserzione("FlussoACN", "C.1.1", "", "", "", "");
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->TimeStamp, "2026-12-06T09:31:00Z");
  EXPECT_EQ(item->TimeStamp1d, "2026-12-07T09:31:00Z");

  // The login waited two seconds on the fixed clock.
  // The sandbox's own time service answers in the same form.
  sandbox::Ambiente ambiente(pki_.cartella);
  env_.Contesto().settings.endpoint_ora = ambiente.Server().UrlHttp();
  const long long scarto =
      clsAsserzione::OraRiferimento().SecondiDa(core::OrologioDiSistema().AdessoUTC());
  EXPECT_LE(std::llabs(scarto), 5) << "the real time, not the test's fixed clock";
  env_.Contesto().settings.endpoint_ora = server_.UrlHttp();

  risposta = "troppo\ncorta\n";
  EXPECT_EQ(TimeStampSaml(clsAsserzione::OraRiferimento()), "2026-12-06T09:30:02Z")
      << "the PC's UTC when the answer is not usable";
  env_.Contesto().settings.endpoint_ora = "http://127.0.0.1:9";
  EXPECT_EQ(TimeStampSaml(clsAsserzione::OraRiferimento()), "2026-12-06T09:30:02Z");
}

TEST_F(AsserzioneIdpTest, TheTimeReferenceTakesTheSystemProxyWhenTheSettingIsIe) {
  server_.Registra("GET", "/inrim-web/ntp/itRefTime.php", [](const sandbox::Richiesta&) {
    return sandbox::Risposta{200, "1765013460\nit\n0\nUTC\n2026-12-06 09:31:00\n", "text/plain"};
  });
  auto& s = env_.Contesto().settings;
  s.endpoint_ora = server_.UrlHttp();
  sandbox::ServerProxy proxy;
  ProxyDiSistema ambiente("http://127.0.0.1:" + std::to_string(proxy.Porta()));
  EXPECT_EQ(TimeStampSaml(OraRiferimento()), "2026-12-06T09:31:00Z");
  EXPECT_EQ(proxy.Log().find("itRefTime.php"), std::string::npos)
      << "without the setting the environment's proxy is not used";
  s.proxy_host = "IE";
  EXPECT_EQ(TimeStampSaml(OraRiferimento()), "2026-12-06T09:31:00Z");
  EXPECT_NE(proxy.Log().find("/inrim-web/ntp/itRefTime.php"), std::string::npos) << proxy.Log();
  s.proxy_host = "ie";
  setenv("http_proxy", "http://127.0.0.1:9", 1);  // a system proxy nobody answers on
  EXPECT_EQ(TimeStampSaml(OraRiferimento()), "2026-12-06T09:30:00Z") << "the PC's UTC instead";
}

class DialoghiTest : public AsserzioneIdpTest {
 protected:
  DialoghiTest() {
    servizio_ = std::make_shared<clsAsserzione>();  // nothing remembered
    env_.Contesto().servizio_asserzione = servizio_;
  }
  // `indice`: the responsible doctor chosen, in the order of the doctors' archive.
  static frmPasswordAsserzione Digitate(std::string utente, std::string password, bool ricorda,
                                        int indice = 0) {
    frmPasswordAsserzione form;
    form.UserName = std::move(utente);
    form.Password = std::move(password);
    form.IndiceResponsabile = indice;
    form.Ricorda = ricorda;
    return form;
  }
  static frmUpdatePasswordAsserzione Cambio(std::string attuale, std::string nuova) {
    frmUpdatePasswordAsserzione form;
    form.UserName = "mrossi";
    form.Password = std::move(attuale);
    form.NuovaPassword = nuova;
    form.Ridigita = std::move(nuova);
    return form;
  }
};

TEST_F(DialoghiTest, CredentialsAreAskedCheckedRememberedAndOfferedAgain) {
  auto& ui = env_.Ui();
  ui.RispondiCredenziali(Digitate("", "x", true));
  ui.RispondiCredenziali(Digitate("mrossi", "Segreta.1", true));
  auto item = servizio_->DaiAsserzione("demInvioPrescritto", "C.1.1", "", "", "", "");
  ASSERT_NE(item, nullptr) << servizio_->LastError();
  ASSERT_EQ(ui.Mostrati().size(), 1u);
  EXPECT_EQ(ui.Mostrati()[0].testo, "Il nome utente non può essere vuoto");
  EXPECT_EQ(item->CFResponsabile, kMedico);
  EXPECT_EQ(item->CFUtente, kMedico);
  EXPECT_EQ(item->Contesto, "C.1.1");
  EXPECT_EQ(idp_.Richieste().back().attributi.at("codStruttura"), "050503");
  ASSERT_EQ(ui.CredenzialiMostrate().size(), 2u);
  EXPECT_EQ(ui.CredenzialiMostrate()[0].Responsabili.size(), 2u) << "the doctors' archive";
  EXPECT_EQ(ui.CredenzialiMostrate()[0].IndiceResponsabile, 0) << "the user is preselected";
  const std::string salvate = env_.Host()->Utente().Items().GetItem("KIRO.IAP");
  EXPECT_FALSE(salvate.empty());
  EXPECT_EQ(salvate.find("Segreta"), std::string::npos) << "kept encrypted";
  EXPECT_EQ(env_.Host()->Registry().ReadReg("HKEY_CURRENT_USER",
                                            "Software\\Telvora\\Curalis V6\\KIRO\\", "Credenziali"),
            salvate);

  // A later run offers what was remembered; cancelling gives nothing and no error.
  auto nuovo = std::make_shared<clsAsserzione>();
  ui.RispondiCredenziali(std::nullopt);
  EXPECT_EQ(nuovo->DaiAsserzione("FlussoACN", "C.1.1", "", "", "", ""), nullptr);
  EXPECT_EQ(nuovo->LastError(), "");
  EXPECT_EQ(ui.CredenzialiMostrate().back().UserName, "mrossi");
  EXPECT_EQ(ui.CredenzialiMostrate().back().Password, "Segreta.1");
}

TEST_F(DialoghiTest, AnExpiredPasswordIsChangedThroughTheDialog) {
  idp_.AggiungiUtente("mrossi", "Vecchia.1", true);
  auto& ui = env_.Ui();
  ui.RispondiCredenziali(Digitate("mrossi", "Vecchia.1", true));
  ui.Rispondi(core::risposta::kSi);
  auto cambio = Cambio("Vecchia.1", "Nuova.2");
  cambio.Ridigita = "Nuova.3";
  ui.RispondiCambioPassword(cambio);
  cambio.Ridigita = "Nuova.2";
  ui.RispondiCambioPassword(cambio);
  auto item = servizio_->DaiAsserzione("demInvioPrescritto", "C.1.1", "", "", "", "");
  ASSERT_NE(item, nullptr) << servizio_->LastError();
  EXPECT_EQ(idp_.Password("mrossi"), "Nuova.2");
  std::vector<std::string> testi;
  for (const auto& box : ui.Mostrati()) testi.push_back(box.testo);
  ASSERT_EQ(testi.size(), 3u);
  EXPECT_TRUE(testi[0].starts_with("La password risulta essere scaduta.\r\nPer accedere"));
  EXPECT_EQ(testi[1], "La nuova password non coincide con quella ridigitata");
  EXPECT_EQ(testi[2], "Password modificata con successo!");
  EXPECT_EQ(env_.Host()->Framework().CredenzialiSAR(),
            (std::pair<std::string, std::string>("mrossi", "Nuova.2")))
      << "the host is given the changed credentials";
  EXPECT_EQ(CredenzialiSalvate::Leggi()->password, "Nuova.2") << "the stored ones are rewritten";
  EXPECT_NE(servizio_->DaiAsserzione("FlussoACN", "C.1.1", "", "", "", "BNCGLI80A41L736C"), nullptr)
      << "remembered: no dialog " << servizio_->LastError();
  EXPECT_EQ(idp_.Richieste().back().password, "Nuova.2");
}

TEST_F(DialoghiTest, QZ01011ChangesThePasswordOfTheRememberedUser) {
  EXPECT_EQ(servizio_->UtenteNoto(), "") << "nothing remembered or stored";
  CredenzialiSalvate{"mrossi", "Segreta.1"}.Salva();
  EXPECT_EQ(servizio_->UtenteNoto(), "mrossi") << "the stored user is offered";
  servizio_->Ricorda("mrossi", "Segreta.1", kMedico, kMedico);
  auto item = servizio_->DaiAsserzione("demInvioPrescritto", "C.1.1", "", "", "", "");
  ASSERT_NE(item, nullptr);
  auto& ui = env_.Ui();
  host::Variant modello;
  ui.RispondiCambioPassword(Cambio("sbagliata", "Nuova.2"));
  EXPECT_FALSE(plugin_.QZ01011(modello));
  EXPECT_EQ(plugin_.LastError(), "Aggiornamento password non riuscito\r\nCredenziali Errate");

  ui.RispondiCambioPassword(Cambio("Segreta.1", "Nuova.2"));
  ASSERT_TRUE(plugin_.QZ01011(modello)) << plugin_.LastError();
  EXPECT_EQ(idp_.Password("mrossi"), "Nuova.2");
  EXPECT_EQ(ui.Mostrati().back().testo, "Password modificata con successo!");
  EXPECT_EQ(ui.Mostrati().back().titolo, "Aggiorna Password");
  EXPECT_EQ(CredenzialiSalvate::Leggi()->password, "Nuova.2");
  EXPECT_EQ(item->Password, "Nuova.2") << "the cached login renews with the new password";
  ASSERT_TRUE(servizio_->AggiornaAsserzione(*item)) << servizio_->LastError();
  EXPECT_EQ(idp_.Richieste().back().password, "Nuova.2");

  ui.RispondiCambioPassword(std::nullopt);
  EXPECT_FALSE(plugin_.QZ01011(modello));
  EXPECT_EQ(plugin_.LastError(), "Operazione annullata dall'utente");
  env_.Host()->Utente().SetTipo(2);
  EXPECT_FALSE(plugin_.QZ01011(modello)) << "only the holders change it from the menu";
  EXPECT_EQ(idp_.Password("mrossi"), "Nuova.2");
}

TEST_F(DialoghiTest, ADelegateActsForTheOpenPatientsOwnDoctor) {
  // VERDI LUCA's own doctor, second in the doctors' archive.
  constexpr const char* kCurante = "BNCLCU65B12F205Z";
  auto& host = *env_.Host();
  auto& ui = env_.Ui();
  host.Utente().SetTipo(3);
  host.Utente().SetCodiceFiscale(kDelegato);
  ASSERT_TRUE(host.ApriPaziente("2"));
  ui.RispondiCredenziali(Digitate("mrossi", "Segreta.1", false, 1));
  EXPECT_EQ(servizio_->DaiAsserzione("QueryReferto", "C.1.1", "", "", "", ""), nullptr);
  EXPECT_EQ(servizio_->LastError(), "Il responsabile o l'utente non possono accedere al Servizio");
  EXPECT_EQ(ui.CredenzialiMostrate().back().IndiceResponsabile, 1) << "the patient's doctor";
  const auto richiesta = idp_.Richieste().back();
  EXPECT_EQ(richiesta.responsabile, kCurante);
  EXPECT_EQ(richiesta.soggetto, kDelegato);
  EXPECT_EQ(richiesta.attributi.at("RequestContext"), "C.1.2");

  idp_.AggiungiDelega(kDelegato, kCurante);
  ui.RispondiCredenziali(Digitate("mrossi", "Segreta.1", false, 1));
  auto item = servizio_->DaiAsserzione("QueryReferto", "C.1.1", "", "", "", "");
  ASSERT_NE(item, nullptr) << servizio_->LastError();
  EXPECT_EQ(item->CFResponsabile, kCurante);
  EXPECT_EQ(servizio_->DaiAsserzione("QueryReferto", "C.1.2", "", "", "", ""), item);
  EXPECT_EQ(ui.CredenzialiMostrate().size(), 2u);

  // The session of the second factor runs on behalf of the same doctor.
  server_.Registra("POST", "/mfaapplicativo/richiesta", [](const sandbox::Richiesta&) {
    return sandbox::Risposta{200, R"({"stato":"OK"})", "application/json"};
  });
  env_.Contesto().settings.endpoint_mfa = server_.Url("");
  ASSERT_TRUE(InviaIDSessione()) << env_.Contesto().last_error;
  EXPECT_EQ(nlohmann::json::parse(server_.Richieste("/mfaapplicativo/richiesta").at(0).corpo)
                .at("idUtente"),
            kCurante);

  // A holder's own requests, or no patient open: the remembered doctor (an
  // unexpected dialog would fail the test).
  for (const auto& [tipo, aperto] : {std::pair<std::int16_t, bool>{0, true}, {3, false}}) {
    auto servizio = std::make_shared<clsAsserzione>();
    servizio->Ricorda("mrossi", "Segreta.1", kMedico, kMedico);
    host.Utente().SetTipo(tipo);
    if (!aperto) host.ImpostaPaziente(nullptr);
    ASSERT_NE(servizio->DaiAsserzione("QueryReferto", "C.1.1", "", "", "", ""), nullptr) << tipo;
    EXPECT_EQ(idp_.Richieste().back().responsabile, kMedico) << tipo;
  }
}

}  // namespace
}  // namespace qzkiro::net
