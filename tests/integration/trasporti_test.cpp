// The SOAP and REST clients against the sandbox over real TLS with a client
// certificate.

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <filesystem>

#include "core/modLog.h"
#include "net/EsitoScambio.h"
#include "net/ScambioHttp.h"
#include "net/clsREST.h"
#include "net/clsSOAP.h"
#include "sandbox/Sandbox.h"
#include "support/AmbientePlugin.h"
#include "sandbox/server/ServerProxy.h"
#include "util/File.h"
#include "util/clsBase64.h"

#include <zlib.h>

namespace qzkiro::net {
namespace {

using sandbox::Guasto;
using sandbox::Richiesta;
using sandbox::Risposta;

class TrasportiTest : public ::testing::Test {
 protected:
  TrasportiTest() {
    env_.Contesto().settings.log_dir = log_.Path().string();
    server_.Registra("POST", "/servizio", [](const Richiesta& r) {
      return Risposta{200, "<ok>" + r.corpo.substr(0, 20) + "</ok>", "text/xml"};
    });
  }
  template <class T>
  T Client(const std::string& percorso = "/servizio") {
    T client;
    client.URL = server_.Url(percorso);
    client.Servizio = "Prova";
    client.FileCertTLS = pki_.ClientP12().string();
    client.PasswordTLS = std::string(sandbox::Pki::kPassword);
    client.CaBundle = pki_.Ca().string();
    return client;
  }
  // The same exchange as a request of the transport, for limits finer than
  // the clients' seconds.
  core::RichiestaHttp RichiestaSandbox(const std::string& percorso = "/servizio") {
    core::RichiestaHttp r;
    r.url = server_.Url(percorso);
    r.corpo = "<e/>";
    r.certificato_p12 = pki_.ClientP12().string();
    r.password_p12 = std::string(sandbox::Pki::kPassword);
    r.ca_bundle = pki_.Ca().string();
    return r;
  }
  std::vector<core::modLog::Record> Log() {
    std::string bytes;
    for (const auto& f : std::filesystem::directory_iterator(log_.Path())) {
      if (f.path().extension() == ".mlg")
        bytes += util::ComeTesto(*util::LeggiFile(f.path().string()));
    }
    return core::modLog::LeggiRecord(bytes);
  }
  // The last trace file logged, as the attachment of a "ChilkatHttpResponse" entry.
  std::string UltimaTraccia() {
    const auto records = Log();
    std::string traccia;
    for (std::size_t i = 0; i + 2 < records.size(); ++i) {
      if (records[i].tipo == '1' && records[i].testo.ends_with("    ChilkatHttpResponse") &&
          records[i + 2].tipo == '4') {
        const std::string& b64 = records[i + 2].testo;
        traccia =
            util::ComeTesto(util::clsBase64::DecodeBytes(b64.substr(b64.find(": ") + 2)).value());
      }
    }
    return traccia;
  }

  testsupport::AmbienteConHost env_;
  sandbox::CartellaTemporanea log_;
  sandbox::Pki pki_ = sandbox::Pki::DellaCompilazione();
  sandbox::Sandbox server_{pki_};
};

TEST_F(TrasportiTest, SendPostsTheEnvelopeWithItsHeadersAndKeepsTheAnswer) {
  auto soap = Client<clsSOAP>();
  soap.Action = "urn:invio";
  soap.ResponseToFile = (log_.Path() / "risposta.xml").string();
  ASSERT_TRUE(soap.Send("<env>perché</env>")) << soap.LastError();
  EXPECT_EQ(soap.Response(), "<ok><env>perché</env></ok>");
  EXPECT_EQ(soap.LastHttpError(), "200");
  EXPECT_EQ(util::ComeTesto(*util::LeggiFile(soap.ResponseToFile)), soap.Response());
  auto r = server_.Richieste("/servizio").at(0);
  EXPECT_EQ(r.Intestazione("SOAPAction"), "\"urn:invio\"");
  EXPECT_EQ(r.Intestazione("Content-Type"), "text/xml; charset=utf-8");
  EXPECT_EQ(r.Intestazione("Accept-Encoding"), "deflate");
  EXPECT_NE(r.soggetto_certificato, "");

  auto soap12 = Client<clsSOAP>();
  soap12.ContentType = "application/soap+xml; charset=UTF-8; Action=\"urn:x\"";
  soap12.ResponseToFile = (log_.Path() / "manca" / "r.xml").string();
  EXPECT_TRUE(soap12.Send("<e/>"));
  EXPECT_EQ(soap12.LastError(),
            "Non è stato possibile salvare la risposta su " + soap12.ResponseToFile);
  EXPECT_EQ(server_.Richieste("/servizio").at(1).Intestazione("SOAPAction"), "")
      << "an action in the content type replaces the header";
}

TEST_F(TrasportiTest, AFaultBecomesItsMessage) {
  const auto fault = Guasto::FaultSoap(sandbox::VersioneSoap::Soap11, "NRE inesistente");
  server_.ProgrammaGuasto("/servizio", fault);
  auto soap = Client<clsSOAP>();
  EXPECT_FALSE(soap.Send("<e/>"));
  EXPECT_EQ(soap.LastError(), "NRE inesistente");
  EXPECT_EQ(soap.LastHttpError(), std::to_string(fault.risposta.stato));
  EXPECT_EQ(soap.LastErrorResponse(), fault.risposta.corpo);
}

constexpr const char* kIrraggiungibile =
    "Server non raggiungibile. Verificare la connessione o riprovare più tardi";

TEST_F(TrasportiTest, NoAnswerRefusedCertificateAndTimeOut) {
  auto senza_certificato = Client<clsSOAP>();
  senza_certificato.FileCertTLS.clear();
  EXPECT_FALSE(senza_certificato.Send("<e/>"));
  EXPECT_EQ(senza_certificato.LastError(), kIrraggiungibile);

  auto con_oggetto = Client<clsSOAP>();
  con_oggetto.FileCertTLS.clear();
  con_oggetto.Cert = std::make_shared<CertificatoClient>(
      CertificatoClient{pki_.ClientPem().string(), pki_.ChiaveClient().string(), ""});
  EXPECT_TRUE(con_oggetto.Send("<e/>")) << con_oggetto.LastErrorResponse();
  server_.DimenticaRichieste();

  auto estraneo = Client<clsSOAP>();
  estraneo.FileCertTLS = pki_.EstraneoP12().string();
  EXPECT_FALSE(estraneo.Send("<e/>"));
  EXPECT_TRUE(server_.Richieste("/servizio").empty()) << "no request passed the TLS check";

  server_.ProgrammaGuasto("/servizio", Guasto::Ritardo(std::chrono::milliseconds(3000)));
  auto lento = Client<clsSOAP>();
  lento.ReadTimeOut = 1;
  EXPECT_FALSE(lento.Send("<e/>"));
  EXPECT_EQ(lento.LastError(), kIrraggiungibile);
  EXPECT_NE(lento.LastErrorResponse().find("imeout"), std::string::npos)
      << lento.LastErrorResponse();

  server_.ProgrammaGuasto("/servizio", Guasto::Chiusura());
  auto chiuso = Client<clsSOAP>();
  EXPECT_FALSE(chiuso.Send("<e/>"));
  EXPECT_EQ(chiuso.LastError(), kIrraggiungibile);

  auto spento = Client<clsSOAP>();
  spento.URL = "https://127.0.0.1:9/servizio";
  EXPECT_FALSE(spento.Send("<e/>"));
  EXPECT_EQ(spento.LastHttpError(), "0");
}

std::string MessaggioSoap(const core::RispostaHttp& r) {
  return MessaggioEsito(ClassificaRisposta(FormaScambio::kSoap, r), r);
}

// The most memory the process has held so far, in KiB.
long PiccoMemoriaKib() {
  rusage uso{};
  getrusage(RUSAGE_SELF, &uso);
  return uso.ru_maxrss;
}

TEST_F(TrasportiTest, AnEndlessAnswerEndsAtTheSizeLimitWithMemoryBounded) {
  constexpr std::size_t kLimite = 1u << 20;
  server_.ProgrammaGuasto("/servizio", Guasto::CorpoSenzaFine());
  core::RichiestaHttp r = RichiestaSandbox();
  r.limite_risposta = kLimite;
  // Without the limit the exchange would end here, after hundreds of megabytes.
  r.timeout_totale_ms = 2000;
  const long prima = PiccoMemoriaKib();
  const core::RispostaHttp risposta = Esegui(r);
  EXPECT_LT(PiccoMemoriaKib() - prima, 32 * 1024) << "the body held stays near the limit";
  EXPECT_FALSE(risposta.ricevuta);
  EXPECT_TRUE(risposta.troppo_grande) << risposta.errore;
  EXPECT_FALSE(risposta.tempo_scaduto);
  EXPECT_EQ(risposta.errore, "Risposta troppo grande: oltre 1048576 byte");
  EXPECT_TRUE(risposta.corpo.empty());
  EXPECT_EQ(MessaggioSoap(risposta), kIrraggiungibile);
  EXPECT_EQ(server_.Richieste("/servizio").at(0).stato, 200) << "the answer had begun";
}

TEST_F(TrasportiTest, PreparedRequestBytesAndTraceFile) {
  auto soap = Client<clsSOAP>("/servizio/annidato");
  server_.Registra("POST", "/servizio/annidato", [](const Richiesta& r) {
    return Risposta{200, r.Intestazione("Content-Type"), "text/plain"};
  });
  soap.HttpRequest = std::make_shared<RichiestaPreparata>();
  soap.HttpRequest->Headers = {{"Content-Type", "multipart/related; boundary=x"}};
  soap.HttpRequest->Body = "--x\r\nparte\r\n--x--";
  soap.FileLog = (log_.Path() / "plgQZCoopApp_Soap.tmp").string();
  ASSERT_TRUE(soap.Send("ignorato"));
  EXPECT_EQ(soap.HttpRequest->Path, "/servizio/annidato");
  EXPECT_EQ(soap.Response(), "multipart/related; boundary=x");
  EXPECT_EQ(server_.Richieste("/servizio/annidato").at(0).corpo, "--x\r\nparte\r\n--x--");
  EXPECT_EQ(std::filesystem::file_size(soap.FileLog), 0u) << "emptied after the call";
  // The trace went to the log as the attachment of a "ChilkatHttpResponse" entry.
  const std::string traccia = UltimaTraccia();
  EXPECT_NE(traccia.find("> POST /servizio/annidato HTTP/1.1"), std::string::npos) << traccia;
  EXPECT_NE(traccia.find("--x\r\nparte"), std::string::npos);
  EXPECT_NE(traccia.find("< HTTP/1.1 200"), std::string::npos);

  auto binario = Client<clsSOAP>();
  EXPECT_TRUE(binario.Send(util::Bytes{'<', 'b', '/', '>'}));
  EXPECT_EQ(binario.Response(), "<ok><b/></ok>");
}

TEST_F(TrasportiTest, AnswersComeCompressedAndChunkedAsTheRequestAllows) {
  // Varied enough that, compressed, it still spans several chunks.
  std::string corpo = "<dati>";
  for (unsigned i = 0, x = 7; i < 600; ++i, x = x * 1103515245u + 12345u) {
    corpo += "<v n=\"" + std::to_string(i) + "\">" + std::to_string(x % 100000) + "</v>";
  }
  corpo += "</dati>";
  for (const bool a_blocchi : {false, true}) {
    server_.Registra("POST", a_blocchi ? "/blocchi" : "/intero", [=](const Richiesta&) {
      Risposta r{200, corpo, "text/xml"};
      r.a_blocchi = a_blocchi;
      return r;
    });
  }
  const struct {
    bool rest;
    const char* offerta;  // "": the client's default, deflate
    bool a_blocchi;
    const char* codifica;
  } casi[] = {
      {false, "", false, "deflate"},     {true, "", false, "deflate"},
      {false, "gzip", false, "gzip"},    {true, "deflate;q=0, gzip;q=0.5", false, "gzip"},
      {false, "deflate;q=0", false, ""}, {true, "identity", false, ""},
      {false, "", true, "deflate"},      {true, "", true, "deflate"},
      {false, "identity", true, ""},
  };
  for (const auto& caso : casi) {
    const std::string nome = std::string(caso.rest ? "REST " : "SOAP ") + caso.offerta +
                             (caso.a_blocchi ? " a blocchi" : "");
    SCOPED_TRACE(nome);
    const std::string percorso = caso.a_blocchi ? "/blocchi" : "/intero";
    auto invia = [&](Trasporto& client, auto&& send) {
      client.AcceptEncoding = caso.offerta;
      client.FileLog = (log_.Path() / "plgQZCoopApp_Soap.tmp").string();
      EXPECT_TRUE(send()) << client.LastError();
      EXPECT_EQ(client.Response(), corpo);
    };
    if (caso.rest) {
      auto rest = Client<clsREST>(percorso);
      invia(rest, [&] { return rest.Send("<Bundle/>"); });
    } else {
      auto soap = Client<clsSOAP>(percorso);
      invia(soap, [&] { return soap.Send("<e/>"); });
    }
    const std::string offerta = *caso.offerta ? caso.offerta : "deflate";
    EXPECT_EQ(server_.Richieste(percorso).back().Intestazione("Accept-Encoding"), offerta);
    const std::string traccia = UltimaTraccia();
    EXPECT_EQ(traccia.find("< Content-Encoding: ") != std::string::npos, *caso.codifica != '\0');
    if (*caso.codifica) {
      EXPECT_NE(traccia.find(std::string("< Content-Encoding: ") + caso.codifica + "\r\n"),
                std::string::npos);
    }
    EXPECT_EQ(traccia.find("< Transfer-Encoding: chunked") != std::string::npos, caso.a_blocchi);
    EXPECT_NE(traccia.find("< " + corpo), std::string::npos) << "the trace shows it decoded";
  }
}

TEST_F(TrasportiTest, SendCnsAndRest) {
  server_.Registra("POST", "/cns", [](const Richiesta& r) {
    return Risposta{200, r.Intestazione("Authorization"), "text/plain"};
  });
  auto cns = Client<clsSOAP>("/cns");
  cns.CaBundle.clear();  // certificate errors are ignored here
  cns.UserName = "medico";
  cns.Password = "è";
  ASSERT_TRUE(cns.SendCNS("<e/>")) << cns.LastError();
  EXPECT_EQ(cns.Response(), "Basic bWVkaWNvOug=");

  server_.Registra("GET", "/fhir/CarePlan", [](const Richiesta& r) {
    return Risposta{200, r.Intestazione("Authorization") + "|" + r.Intestazione("Accept"),
                    "text/plain"};
  });
  auto rest = Client<clsREST>("/fhir/CarePlan");
  rest.Method = "GET";
  rest.Token = "IHE-SAML abc";
  ASSERT_TRUE(rest.Send(""));
  EXPECT_EQ(rest.Response(), "IHE-SAML abc|application/fhir+xml");
}

TEST_F(TrasportiTest, ThroughARealProxyWithAndWithoutCredentials) {
  sandbox::ServerProxy aperto;
  auto soap = Client<clsSOAP>();
  soap.ProxyHost = "127.0.0.1";
  soap.ProxyPort = aperto.Porta();
  ASSERT_TRUE(soap.Send("<e/>")) << soap.LastError() << soap.LastErrorResponse();
  EXPECT_NE(aperto.Log().find("CONNECT"), std::string::npos);

  sandbox::ServerProxy protetto("kiro", "segreta");
  soap.ProxyPort = protetto.Porta();
  soap.ProxyUsername = "kiro";
  soap.ProxyPassword = "sbagliata";
  EXPECT_FALSE(soap.Send("<e/>"));
  EXPECT_EQ(soap.LastError(), kIrraggiungibile);
  soap.ProxyPassword = "segreta";
  EXPECT_TRUE(soap.Send("<e/>")) << soap.LastErrorResponse();
  EXPECT_EQ(server_.Richieste("/servizio").size(), 2u);
}

TEST_F(TrasportiTest, SimulatorModeAnswersFromFilesWithoutTheNetwork) {
  env_.CartellaPlugin().Scrivi("Simulatore/Prova/Prova.xml", "<simulata/>");
  env_.Contesto().simulatore = true;
  auto soap = Client<clsSOAP>();
  ASSERT_TRUE(soap.Send("<e/>"));
  EXPECT_EQ(soap.Response(), "<simulata/>");
  auto rest = Client<clsREST>();
  ASSERT_TRUE(rest.Send("<e/>"));
  EXPECT_EQ(rest.Response(), "<simulata/>");
  EXPECT_TRUE(server_.Richieste().empty());
}

// The identity service as the transports see it: it renews an assertion or
// fails to.
struct ServizioFinto : core::ServizioAsserzione {
  bool AggiornaAsserzione(clsItemAsserzione& item) override {
    item.Asserzione = "<saml:Assertion>rinnovata</saml:Assertion>";
    return rinnova;
  }
  void EliminaAsserzione(const clsItemAsserzione&) override {}
  std::shared_ptr<clsItemAsserzione> NuovaAsserzione(const std::string&, const std::string&,
                                                     const std::string&,
                                                     const std::string&) override {
    return nullptr;
  }
  bool UpdatePassword(clsItemAsserzione&) override { return false; }
  std::string LastError() const override { return "password non cambiata"; }
  bool rinnova = true;
};

class AsserzioneTest : public TrasportiTest {
 protected:
  AsserzioneTest() {
    env_.Contesto().servizio_asserzione = servizio_;
    item_.Asserzione = "<saml:Assertion>prima</saml:Assertion>";
    item_.Servizio = "Prova";
    item_.Contesto = "C.1.1";
  }
  std::string Corpo(std::size_t i) { return server_.Richieste("/servizio").at(i).corpo; }
  std::shared_ptr<ServizioFinto> servizio_ = std::make_shared<ServizioFinto>();
  clsItemAsserzione item_;
  const std::string busta_ = "<Header>[Asserzione]</Header><Body/>";
};

TEST_F(AsserzioneTest, ExpiredAssertionIsRenewedAndSentAgainOnce) {
  const auto scaduta = Guasto::Stato(500, "<faultstring>ERR_00032 scaduta</faultstring>");
  server_.ProgrammaGuasto("/servizio", scaduta);
  auto soap = Client<clsSOAP>();
  ASSERT_TRUE(soap.SendAsserzione(busta_, item_, false, true)) << soap.LastError();
  EXPECT_EQ(Corpo(0), "<Header><saml:Assertion>prima</saml:Assertion></Header><Body/>");
  EXPECT_EQ(Corpo(1), "<Header><saml:Assertion>rinnovata</saml:Assertion></Header><Body/>");
  EXPECT_EQ(soap.LastError(), "") << "the refused first pass leaves nothing once resent";
  EXPECT_EQ(soap.LastErrorResponse(), "");

  servizio_->rinnova = false;
  server_.ProgrammaGuasto("/servizio", scaduta);
  EXPECT_FALSE(soap.SendAsserzione(busta_, item_, false, true));
  EXPECT_EQ(soap.LastError(), "password non cambiata");
  EXPECT_EQ(server_.Richieste("/servizio").size(), 3u);
}

TEST_F(AsserzioneTest, ACodeInAnAcceptedAnswerIsTheError) {
  server_.ProgrammaGuasto("/servizio", Guasto::Stato(200, "<esito>ERR_00054</esito>"));
  auto soap = Client<clsSOAP>();
  EXPECT_FALSE(soap.SendAsserzione(busta_, item_, false, true));
  EXPECT_EQ(soap.LastError(), "ERR_00054 - Credenziali Errate");
}

TEST_F(AsserzioneTest, RestCarriesTheAssertionDeflatedInTheToken) {
  auto rest = Client<clsREST>();
  ASSERT_TRUE(rest.SendAsserzione("<Bundle/>", item_, true, false));
  EXPECT_EQ(server_.Richieste("/servizio").at(0).Intestazione("Authorization"),
            "IHE-SAML PHNhbWw6QXNzZXJ0aW9uPnByaW1hPC9zYW1sOkFzc2VydGlvbj4=");
  ASSERT_TRUE(rest.SendAsserzione("<Bundle/>", item_, true, true));
  const std::string token = server_.Richieste("/servizio").at(1).Intestazione("Authorization");
  ASSERT_EQ(token.substr(0, 9), "IHE-SAML ");
  auto compresso = util::clsBase64::DecodeBytes(token.substr(9)).value();
  z_stream z{};
  ASSERT_EQ(inflateInit2(&z, -MAX_WBITS), Z_OK);
  std::string testo(256, '\0');
  z.next_in = compresso.data();
  z.avail_in = static_cast<uInt>(compresso.size());
  z.next_out = reinterpret_cast<Bytef*>(testo.data());
  z.avail_out = static_cast<uInt>(testo.size());
  EXPECT_EQ(inflate(&z, Z_FINISH), Z_STREAM_END);
  testo.resize(z.total_out);
  inflateEnd(&z);
  EXPECT_EQ(testo, item_.Asserzione);
}

}  // namespace
}  // namespace qzkiro::net
