// The clients' send frame, what each keeps of an answer and the recovery from
// the assertion errors, on the scripted transport (no network, no TLS).

#include "net/Trasporto.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "net/clsAsserzione.h"
#include "net/clsREST.h"
#include "net/clsSOAP.h"
#include "support/AmbientePlugin.h"
#include "support/TrasportoScriptato.h"
#include "util/File.h"
#include "util/clsBase64.h"

namespace qzkiro::net {
namespace {

using testsupport::FaultSoap;
using testsupport::TrasportoScriptato;
using T = TrasportoScriptato;

constexpr const char* kMedico = "RSSMRA70A01L736S";
constexpr const char* kUrl = "https://servizio.prova/mef";
constexpr const char* kOra = "/inrim-web/ntp/itRefTime.php";
constexpr const char* kIrraggiungibile =
    "Server non raggiungibile. Verificare la connessione o riprovare più tardi";

// A fresh add-on with the identity service (credentials remembered) and the
// identity provider on the scripted transport; the national time reference
// does not answer, so the PC's clock stamps the requests.
struct Banco {
  Banco() {
    auto& c = env.Contesto();
    c.app = env.App();
    c.settings.endpoint["iap"] = "https://idp.prova/iap";
    c.servizio_asserzione = identita;
    identita->Ricorda("mrossi", "Segreta.1", kMedico, kMedico);
    testsupport::RispondiComeIdentita(*rete);
    rete->Sempre(kOra, [](const core::RichiestaHttp&) { return T::NessunaRisposta("rifiutata"); });
  }

  // One word per request sent from the `da`-th on, time reference left out:
  // "login" and "password" to the identity provider, "mef <n>" to the
  // service carrying the n-th assertion (in the body or, Base64, in the token).
  std::vector<std::string> Invii(std::size_t da = 0) const {
    std::vector<std::string> parole;
    const auto& inviate = rete->Inviate();
    for (std::size_t i = da; i < inviate.size(); ++i) {
      const auto& r = inviate[i];
      const std::string percorso = T::Percorso(r.url);
      if (percorso == kOra) continue;
      if (percorso == "/iap") {
        const bool cambio =
            r.Intestazione("SOAPAction").find("UpdatePassword") != std::string::npos;
        parole.push_back(cambio ? "password" : "login");
        continue;
      }
      const std::string token = r.Intestazione("Authorization");
      const std::string testo =
          r.corpo +
          (token.starts_with("IHE-SAML ") ? util::clsBase64().Decode(token.substr(9)) : "");
      std::string parola = percorso == "/mef" ? "mef" : percorso;
      for (int n = 1; n <= 9; ++n) {
        if (testo.find(testsupport::AsserzioneScriptata(n)) != std::string::npos) {
          parola += " " + std::to_string(n);
        }
      }
      parole.push_back(parola);
    }
    return parole;
  }

  testsupport::AmbientePlugin env;
  std::shared_ptr<TrasportoScriptato> rete = TrasportoScriptato::Installa(env.Contesto());
  std::shared_ptr<clsAsserzione> identita = std::make_shared<clsAsserzione>();
};

std::vector<std::string> Testi(const core::UiRegistrata& ui) {
  std::vector<std::string> testi;
  for (const auto& box : ui.Mostrati()) testi.push_back(box.testo);
  return testi;
}

TEST(ConAsserzioneTest, AssertionErrorsAreRecoveredAndTheRequestGoesAgainAtMostOnce) {
  struct Caso {
    const char* nome = "";
    std::vector<core::RispostaHttp> risposte{};  // the service's, in order
    std::vector<int> scelte{};                   // the user's answers to the questions
    bool nuova_password = false;                 // typed when the change form opens
    bool riprova = true;
    bool ok = false;
    std::string errore{};
    std::vector<std::string> invii{};
    std::vector<std::string> testi{};  // the boxes shown
  };
  const std::string audience =
      "Il valore dell'elemento AudienceRestriction non permette l'accesso al servizio\r\n\r\n"
      "Per procedere è necessario rifare l'autenticazione.\r\nFare clic su OK per procedere o "
      "Annulla per interrompere l'invio";
  const std::string scaduta = "Password Scaduta\r\n\r\nAggiornare la password ora?";
  const auto ok = T::Stato(200, "<ok/>");
  const auto ricevuta7007 =
      T::Stato(200, "<Envelope><Body><r><codEsito>7007</codEsito></r></Body></Envelope>");
  // clang-format off
  const Caso casi[] = {
      {.nome = "expired assertion: renewed and sent again",
       .risposte = {FaultSoap("ERR_00032"), ok}, .ok = true, .invii = {"mef 1", "login", "mef 2"}},
      {.nome = "expired assertion in a receipt, no resend asked: the caller gets Retry",
       .risposte = {ricevuta7007}, .riprova = false, .errore = "Retry",
       .invii = {"mef 1", "login"}},
      {.nome = "still expired after the renewal: reported, not sent a third time",
       .risposte = {FaultSoap("ERR_00032"), FaultSoap("ERR_00032")},
       .errore = "ERR_00032 - Il valore dell'attributo NotOnOrAfter è precedente all'istante di "
                 "utilizzo dell'asserzione",
       .invii = {"mef 1", "login", "mef 2"}},
      {.nome = "refused audience, confirmed: a new login, sent again",
       .risposte = {FaultSoap("ERR_00044"), ok}, .scelte = {core::risposta::kOK}, .ok = true,
       .invii = {"mef 1", "login", "mef 2"}, .testi = {audience}},
      {.nome = "refused audience, cancelled",
       .risposte = {FaultSoap("ERR_00044")}, .scelte = {core::risposta::kAnnulla},
       .errore = "Operazione annullata dall'utente", .invii = {"mef 1"}, .testi = {audience}},
      {.nome = "expired password, changed: sent again with the same assertion",
       .risposte = {FaultSoap("ERR_00056"), ok}, .scelte = {core::risposta::kOK},
       .nuova_password = true, .ok = true, .invii = {"mef 1", "password", "mef 1"},
       .testi = {scaduta, "Password modificata con successo!"}},
      {.nome = "expired password, not changed",
       .risposte = {FaultSoap("ERR_00056")}, .scelte = {core::risposta::kAnnulla},
       .errore = "Operazione annullata dall'utente", .invii = {"mef 1"}, .testi = {scaduta}},
      {.nome = "time-out: reported with its code, not sent again",
       .risposte = {T::TempoScaduto("timeout: Operation timed out after 30000 milliseconds")},
       .errore = std::string("Timeout - ") + kIrraggiungibile, .invii = {"mef 1"}},
      {.nome = "read time-out",
       .risposte = {T::TempoScaduto("Timeout waiting for response: nessun dato per 30000 ms")},
       .errore = std::string("Timeout - ") + kIrraggiungibile, .invii = {"mef 1"}},
      {.nome = "another assertion error: its code and message",
       .risposte = {FaultSoap("ERR_00055 Data e ora della richiesta non allineate")},
       .errore = "ERR_00055 - Data e Ora disallineate", .invii = {"mef 1"}},
      {.nome = "no answer and no assertion error: the transport's message",
       .risposte = {T::NessunaRisposta("Failed to connect to servizio.prova port 443")},
       .errore = kIrraggiungibile, .invii = {"mef 1"}},
  };
  // clang-format on
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.nome);
    Banco b;
    auto item = b.identita->DaiAsserzione("demInvioPrescritto", "C.1.1", "", "", "", "");
    ASSERT_NE(item, nullptr) << b.identita->LastError();
    const std::size_t prima = b.rete->Inviate().size();
    for (const auto& r : caso.risposte) b.rete->Accoda("/mef", r);
    for (int scelta : caso.scelte) b.env.Ui().Rispondi(scelta);
    if (caso.nuova_password) {
      frmUpdatePasswordAsserzione cambio;
      cambio.Password = "Segreta.1";
      cambio.NuovaPassword = cambio.Ridigita = "Nuova.2";
      b.env.Ui().RispondiCambioPassword(cambio);
    }

    clsSOAP soap;
    soap.URL = kUrl;
    soap.Servizio = "demInvioPrescritto";
    EXPECT_EQ(soap.SendAsserzione("<h>[Asserzione]</h>", *item, false, caso.riprova), caso.ok);
    EXPECT_EQ(caso.ok ? std::string() : soap.LastError(), caso.errore);
    EXPECT_EQ(b.Invii(prima), caso.invii);
    EXPECT_EQ(Testi(b.env.Ui()), caso.testi);
    EXPECT_EQ(b.rete->DaConsumare(), 0u);
    for (const auto& box : b.env.Ui().Mostrati()) {
      if (box.testo == audience || box.testo == scaduta) {
        EXPECT_EQ(box.titolo, "Autenticazione");
        EXPECT_EQ(box.stile, core::stile::kOKAnnulla | core::stile::kAvviso);
      }
    }
  }
}

TEST(ConAsserzioneTest, APreparedRequestIsRebuiltWithTheRenewedAssertion) {
  Banco b;
  auto item = b.identita->DaiAsserzione("demInvioPrescritto", "C.1.1", "", "", "", "");
  ASSERT_NE(item, nullptr);
  b.rete->Accoda("/mef", FaultSoap("ERR_00032")).Accoda("/mef", T::Stato(200, "<ok/>"));
  clsSOAP soap;
  soap.URL = kUrl;
  soap.PreparaRichiesta = [](const clsItemAsserzione& a) {
    RichiestaPreparata r;
    r.Headers = {{"Content-Type", "multipart/related"}};
    r.Body = "--b\r\n\r\n<h>" + a.Asserzione + "</h>\r\n--b--";
    return r;
  };
  ASSERT_TRUE(soap.SendAsserzione("", *item, false, true)) << soap.LastError();
  EXPECT_EQ(b.Invii(), (std::vector<std::string>{"login", "mef 1", "login", "mef 2"}));
}

TEST(ConAsserzioneTest, TheRestTokenCarriesTheRenewedAssertion) {
  Banco b;
  auto item = b.identita->DaiAsserzione("GetOTP", "C.1.1", "", "", "", "");
  ASSERT_NE(item, nullptr);
  b.rete->Accoda("/mef", FaultSoap("ERR_00032")).Accoda("/mef", T::Stato(200, "{}"));
  clsREST rest;
  rest.URL = kUrl;
  ASSERT_TRUE(rest.SendAsserzione("{}", *item, true, false)) << rest.LastError();
  EXPECT_EQ(b.Invii(), (std::vector<std::string>{"login", "mef 1", "login", "mef 2"}));
}

// What each client keeps of an answer: the flag it returns, the user's
// message, the failed answer (or the transport's words), the status and the
// answer itself.
TEST(TrasportoTest, EachClientKeepsWhatItsFormSays) {
  enum class Cliente { kTesto, kByte, kCns, kRest };
  struct Caso {
    Cliente cliente;
    core::RispostaHttp risposta;
    bool ok;
    std::string errore, risposta_errore, stato, response;
  };
  const std::string fault = FaultSoap("NRE inesistente").corpo;
  auto fault200 = FaultSoap("Firma non valida");
  fault200.stato = 200;
  const Caso casi[] = {
      {Cliente::kTesto, T::Stato(200, "<ok/>"), true, "", "", "200", "<ok/>"},
      {Cliente::kTesto, FaultSoap("NRE inesistente"), false, "NRE inesistente", fault, "500", ""},
      {Cliente::kTesto, T::NessunaRisposta("Connection refused"), false, kIrraggiungibile,
       "Connection refused", "0", ""},
      {Cliente::kTesto, T::Stato(401, "negato"), false,
       "Utente non autorizzato. Verificare che Username e Password siano corretti e non scaduti",
       "negato", "401", ""},
      {Cliente::kByte, T::Stato(200, "<ok/>"), true, "", "", "200", "<ok/>"},
      {Cliente::kByte, FaultSoap("NRE inesistente"), false, "Errore di comunicazione 500", fault,
       "500", fault},
      {Cliente::kByte, T::NessunaRisposta("Connection refused"), false, "Errore di comunicazione 0",
       "", "0", ""},
      {Cliente::kCns, T::Stato(500, "<x/>"), true, "", "", "0", "<x/>"},
      {Cliente::kCns, fault200, false, "Firma non valida", fault200.corpo, "0", ""},
      {Cliente::kCns, T::TempoScaduto("timeout: x"), false, kIrraggiungibile, "timeout: x", "0",
       ""},
      {Cliente::kRest, T::Stato(200, "{}"), true, "", "", "200", "{}"},
      {Cliente::kRest, T::Stato(504, "upstream"), false,
       "Il sistema non ha risposto entro il tempo stabilito.\r\nPotrebbe trattarsi di un "
       "problema momentaneo pertanto si invita a riprovare più tardi",
       "upstream", "504", ""},
      {Cliente::kRest, T::Stato(400, "<Description>Risorsa non valida</Description>"), false,
       "Risorsa non valida", "<Description>Risorsa non valida</Description>", "400", ""},
  };
  for (const auto& caso : casi) {
    SCOPED_TRACE(std::to_string(static_cast<int>(caso.cliente)) + " " +
                 std::to_string(caso.risposta.stato) + " " + caso.risposta.corpo);
    Banco b;
    b.rete->Accoda("/mef", caso.risposta);
    clsSOAP soap;
    clsREST rest;
    Trasporto& cliente = caso.cliente == Cliente::kRest ? static_cast<Trasporto&>(rest) : soap;
    soap.URL = rest.URL = kUrl;
    const bool ok = caso.cliente == Cliente::kTesto  ? soap.Send(std::string("<x/>"))
                    : caso.cliente == Cliente::kByte ? soap.Send(util::ComeByte("<x/>"))
                    : caso.cliente == Cliente::kCns  ? soap.SendCNS("<x/>")
                                                     : rest.Send("<x/>");
    EXPECT_EQ(ok, caso.ok);
    EXPECT_EQ(cliente.LastError(), caso.errore);
    EXPECT_EQ(cliente.LastErrorResponse(), caso.risposta_errore);
    EXPECT_EQ(cliente.LastHttpError(), caso.stato);
    EXPECT_EQ(cliente.Response(), caso.response);
    EXPECT_EQ(b.rete->Inviate().size(), 1u);
  }
}

TEST(TrasportoTest, EachClientPreparesItsRequest) {
  Banco b;
  b.rete->Sempre("/mef", [](const core::RichiestaHttp&) { return T::Stato(200, "<ok/>"); });
  clsSOAP soap;
  soap.URL = kUrl;
  soap.Action = "urn:azione";
  soap.UserName = "utente";
  soap.Password = "segreta";
  soap.FileCertTLS = "/certificati/client.p12";
  soap.PasswordTLS = "kiro";
  soap.CaBundle = "/certificati/ca.pem";
  soap.ProxyHost = "proxy.asl";
  ASSERT_TRUE(soap.Send(std::string("<testo/>")));
  ASSERT_TRUE(soap.SendCNS("<cns/>"));
  soap.ContentType = "application/soap+xml;charset=UTF-8;action=\"urn:azione\"";
  ASSERT_TRUE(soap.Send(util::ComeByte("<byte/>")));
  soap.HttpRequest = std::make_shared<RichiestaPreparata>();
  soap.HttpRequest->Method = "PUT";
  soap.HttpRequest->Headers = {{"Content-Type", "multipart/related"}};
  soap.HttpRequest->Body = "--parti--";
  ASSERT_TRUE(soap.Send(std::string("ignorato")));
  clsREST rest;
  rest.URL = kUrl;
  rest.Method = "GET";
  rest.Token = "Bearer t";
  rest.ConnectTimeOut = 5;
  rest.ReadTimeOut = 7;
  ASSERT_TRUE(rest.Send("non inviato"));

  const auto inviate = b.rete->Inviate("/mef");
  ASSERT_EQ(inviate.size(), 5u);
  const auto& testo = inviate[0];
  EXPECT_EQ(testo.metodo + "|" + testo.corpo + "|" + testo.Intestazione("SOAPAction") + "|" +
                testo.Intestazione("Accept-Encoding") + "|" + testo.Intestazione("Content-Type") +
                "|" + testo.utente + "|" + testo.certificato_p12 + "|" + testo.ca_bundle,
            "POST|<testo/>|\"urn:azione\"|deflate|text/xml; charset=utf-8|utente|"
            "/certificati/client.p12|/certificati/ca.pem");
  EXPECT_TRUE(testo.verifica_server);
  EXPECT_EQ(testo.proxy_host, "proxy.asl");
  EXPECT_EQ(testo.proxy_porta, 0) << "no port given: the proxy's usual one, not a made-up one";
  EXPECT_FALSE(testo.proxy_sistema);
  EXPECT_EQ(testo.timeout_connessione_ms, 30000);
  // No time-out set: still the limits every exchange has.
  EXPECT_EQ(testo.timeout_lettura_ms, 30000);
  EXPECT_EQ(testo.timeout_totale_ms, core::kTimeoutTotaleMs);
  EXPECT_EQ(testo.limite_risposta, core::kLimiteRisposta);

  const auto& cns = inviate[1];
  EXPECT_EQ(cns.corpo, "<cns/>");
  EXPECT_EQ(cns.utente, "") << "authentication travels in its own header";
  EXPECT_EQ(cns.Intestazione("Authorization"),
            "Basic " + util::clsBase64().Encode("utente:segreta"));
  EXPECT_FALSE(cns.verifica_server);
  EXPECT_EQ(cns.timeout_connessione_ms, 60000);
  EXPECT_EQ(cns.timeout_lettura_ms, 30000);

  const auto& byte = inviate[2];
  EXPECT_EQ(byte.corpo, "<byte/>");
  EXPECT_EQ(byte.Intestazione("SOAPAction"), "") << "the action is in the content type";

  const auto& preparata = inviate[3];
  EXPECT_EQ(preparata.url, "https://servizio.prova:443/mef");
  EXPECT_EQ(preparata.metodo, "PUT");
  EXPECT_EQ(preparata.corpo, "--parti--");
  EXPECT_EQ(preparata.intestazioni, soap.HttpRequest->Headers);
  EXPECT_EQ(soap.HttpRequest->Path, "/mef");

  const auto& get = inviate[4];
  EXPECT_EQ(get.metodo + "|" + get.corpo + "|" + get.Intestazione("Authorization") + "|" +
                get.Intestazione("Accept"),
            "GET||Bearer t|application/fhir+xml");
  EXPECT_EQ(get.timeout_connessione_ms, 5000);
  EXPECT_EQ(get.timeout_lettura_ms, 7000);
}

// The frame every send shares: the simulator answers instead of the network,
// and the trace file is emptied around the exchange (the other client leaves
// it as it is).
TEST(TrasportoTest, TheSendFrameIsTheSameForEveryClient) {
  struct Caso {
    const char* nome;
    std::function<bool(clsSOAP&, clsREST&)> invia;
    bool rest;
    bool traccia_svuotata;
  };
  const Caso casi[] = {
      {"SOAP", [](clsSOAP& s, clsREST&) { return s.Send(std::string("<x/>")); }, false, true},
      {"SOAP byte", [](clsSOAP& s, clsREST&) { return s.Send(util::ComeByte("<x/>")); }, false,
       true},
      {"SOAP CNS", [](clsSOAP& s, clsREST&) { return s.SendCNS("<x/>"); }, false, false},
      {"REST", [](clsSOAP&, clsREST& r) { return r.Send("<x/>"); }, true, true},
  };
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.nome);
    Banco b;
    const auto traccia = b.env.CartellaPlugin().Scrivi("traccia.tmp", "scambio precedente");
    const auto simulatore = b.env.CartellaPlugin().Path() / "Simulatore";
    std::filesystem::copy(QZKIRO_DATA_DIR "/Simulatore", simulatore,
                          std::filesystem::copy_options::recursive);
    const auto simulata =
        util::LeggiFile((simulatore / "demInvioPrescritto/demInvioPrescritto.xml").string());
    ASSERT_TRUE(simulata);
    clsSOAP soap;
    clsREST rest;
    for (Trasporto* t : {static_cast<Trasporto*>(&soap), static_cast<Trasporto*>(&rest)}) {
      t->URL = kUrl;
      t->Servizio = "demInvioPrescritto";
      t->FileLog = traccia.string();
    }
    b.env.Contesto().simulatore = true;
    ASSERT_TRUE(caso.invia(soap, rest));
    const Trasporto& cliente = caso.rest ? static_cast<const Trasporto&>(rest) : soap;
    EXPECT_EQ(cliente.Response(), util::ComeTesto(*simulata));
    EXPECT_TRUE(b.rete->Inviate().empty()) << "the simulator answers, not the network";
    EXPECT_EQ(std::filesystem::file_size(traccia) == 0, caso.traccia_svuotata);
  }
}

TEST(TrasportoTest, AnExceptionInsideTheExchangeBecomesTheLastError) {
  Banco b;
  b.env.Contesto().app.reset();  // the other client encodes its credentials with the host's Base64
  clsSOAP soap;
  soap.URL = kUrl;
  soap.UserName = "utente";
  EXPECT_FALSE(soap.SendCNS("<x/>"));
  EXPECT_EQ(soap.LastError(), "Applicazione host non impostata: chiamare Init");
  EXPECT_TRUE(b.rete->Inviate().empty());
}

}  // namespace
}  // namespace qzkiro::net
