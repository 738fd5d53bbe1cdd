#include "sandbox/Sandbox.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <future>
#include <thread>

#include "sandbox/prova/Strumenti.h"
#include "util/Libxml.h"

namespace qzkiro::sandbox {
namespace {

using namespace std::chrono_literals;
using prova::Chiamata;
using prova::Esegui;
using prova::Esito;

Gestore Fisso(std::string testo) {
  return [testo](const Richiesta&) { return Risposta{200, testo, "text/plain", {}}; };
}

bool BenFormato(const std::string& xml) {
  return util::libxml::LeggiMemoria(xml, nullptr, nullptr,
                                    XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING) !=
         nullptr;
}

// The connection ended without an answer: libcurl says "empty reply" or "receive error".
bool SenzaRisposta(const Esito& e) {
  return e.codice == CURLE_GOT_NOTHING || e.codice == CURLE_RECV_ERROR;
}

class SandboxTest : public ::testing::Test {
 protected:
  Pki pki = Pki::DellaCompilazione();
  Sandbox sandbox{pki};

  // Mutual TLS with the client certificate the test CA signed.
  Chiamata Tls(std::string_view percorso, std::string metodo = "GET", std::string corpo = {}) {
    return prova::Tls(sandbox, pki, percorso, std::move(metodo), std::move(corpo));
  }
  Chiamata Http(std::string_view percorso) { return {.url = sandbox.UrlHttp(percorso)}; }
};

TEST_F(SandboxTest, MutualTlsAcceptsOnlyClientsTheCaSigned) {
  sandbox.Registra("GET", "/eco", [](const Richiesta& r) {
    return Risposta{200, r.soggetto_certificato};
  });
  Chiamata per_nome = Tls("/eco");
  per_nome.url = "https://localhost:" + std::to_string(sandbox.Porta()) + "/eco";
  for (const Chiamata& c : {Tls("/eco"), per_nome}) {
    const Esito e = Esegui(c);
    ASSERT_EQ(e.codice, CURLE_OK) << c.url << ": " << e.errore;
    EXPECT_EQ(e.stato, 200);
    EXPECT_NE(e.corpo.find("CN=MEDICO PROVA"), std::string::npos) << e.corpo;
  }

  for (const auto& p12 : {std::filesystem::path(), pki.EstraneoP12()}) {
    Chiamata c = Tls("/eco");
    c.p12 = p12;
    const Esito e = Esegui(c);
    // The refusal reaches libcurl in the handshake, at the first read (TLS 1.3), or
    // as a closed socket while it still sends, depending on timing.
    EXPECT_TRUE(e.codice == CURLE_SSL_CONNECT_ERROR || e.codice == CURLE_RECV_ERROR ||
                e.codice == CURLE_SEND_ERROR || e.codice == CURLE_SSL_CERTPROBLEM)
        << "certificato '" << p12 << "': " << e.codice << " " << e.errore;
  }
  EXPECT_EQ(sandbox.Richieste().size(), 2u) << "un client rifiutato non arriva alle rotte";

  // The plain listener serves the same routes, without a certificate.
  const Esito chiaro = Esegui(Http("/eco"));
  ASSERT_EQ(chiaro.codice, CURLE_OK) << chiaro.errore;
  EXPECT_EQ(chiaro.corpo, "");
  EXPECT_FALSE(sandbox.Richieste().back().tls);
}

TEST_F(SandboxTest, RoutesByMethodAndPathExactBeforeLongestPrefix) {
  sandbox.Registra("GET", "/a", Fisso("GET /a"));
  sandbox.Registra("POST", "/a", Fisso("POST /a"));
  sandbox.Registra("GET", "/p/*", Fisso("p"));
  sandbox.Registra("GET", "/p/q/*", Fisso("p/q"));
  sandbox.Registra("GET", "/p/esatto", Fisso("esatto"));
  sandbox.Registra("GET", "/b", Fisso("vecchio"));
  sandbox.Registra("GET", "/b", Fisso("nuovo"));
  sandbox.Registra("GET", "/rotto",
                   [](const Richiesta&) -> Risposta { throw std::runtime_error("gestore rotto"); });
  struct Caso {
    const char* metodo;
    const char* percorso;
    long stato;
    const char* corpo;
  };
  for (const Caso& caso : {
           Caso{"GET", "/a", 200, "GET /a"},
           Caso{"POST", "/a", 200, "POST /a"},
           Caso{"GET", "/p/x", 200, "p"},
           Caso{"GET", "/p/q/x/y", 200, "p/q"},
           Caso{"GET", "/p/esatto", 200, "esatto"},
           Caso{"GET", "/p/", 404, "Percorso sconosciuto: /p/\n"},
           Caso{"GET", "/b", 200, "nuovo"},
           Caso{"DELETE", "/a", 405, "Metodo non ammesso: DELETE\n"},
           Caso{"GET", "/nessuno", 404, "Percorso sconosciuto: /nessuno\n"},
           Caso{"GET", "/rotto", 500, "Errore nel servizio della sandbox: gestore rotto\n"},
       }) {
    const Esito e = Esegui(Tls(caso.percorso, caso.metodo));
    ASSERT_EQ(e.codice, CURLE_OK) << e.errore;
    EXPECT_EQ(e.stato, caso.stato) << caso.metodo << " " << caso.percorso;
    EXPECT_EQ(e.corpo, caso.corpo) << caso.metodo << " " << caso.percorso;
  }
}

TEST_F(SandboxTest, RecordsEveryRequestAsSentFromAnyThread) {
  sandbox.Registra("POST", "/soap", Fisso("ok"));
  std::string grande(4 << 20, '\0');
  for (size_t i = 0; i < grande.size(); ++i) grande[i] = static_cast<char>(i * 7 % 251);
  Chiamata c = Tls("/soap?x=1&y=%20z", "POST", grande);
  c.intestazioni = {"Content-Type: application/soap+xml; charset=utf-8",
                    "SOAPAction: \"urn:prova\"", "X-Prova: àè"};
  ASSERT_EQ(Esegui(c).codice, CURLE_OK);

  const auto richieste = sandbox.Richieste("/soap");
  ASSERT_EQ(richieste.size(), 1u);
  const Richiesta& r = richieste[0];
  EXPECT_EQ(r.metodo, "POST");
  EXPECT_EQ(r.query, "x=1&y=%20z");
  EXPECT_TRUE(r.corpo == grande) << "corpo di " << r.corpo.size() << " byte";
  EXPECT_EQ(r.Intestazione("content-type"), "application/soap+xml; charset=utf-8");
  EXPECT_EQ(r.Intestazione("SOAPACTION"), "\"urn:prova\"");
  EXPECT_EQ(r.Intestazione("X-Prova"), "àè");
  EXPECT_EQ(r.Intestazione("REMOTE_ADDR"), "") << "solo le intestazioni inviate";
  EXPECT_TRUE(r.tls);
  EXPECT_EQ(r.soggetto_certificato, "CN=MEDICO PROVA,O=KIRO Sandbox,C=IT");

  sandbox.DimenticaRichieste();
  std::vector<std::thread> fili;
  for (int f = 0; f < 6; ++f) {
    fili.emplace_back([&, f] {
      for (int i = 0; i < 5; ++i) Esegui(Tls("/t" + std::to_string(f), "POST", "x"));
    });
  }
  for (auto& filo : fili) filo.join();
  EXPECT_EQ(sandbox.Richieste().size(), 30u);
  EXPECT_EQ(sandbox.Richieste("/t3").size(), 5u);
  EXPECT_TRUE(sandbox.Richieste("/soap").empty());
}

TEST_F(SandboxTest, ScriptedAnswersReplaceTheRouteInOrderForAsManyRequestsAsAsked) {
  const auto file = std::filesystem::temp_directory_path() /
                    ("sandbox_risposta_" + std::to_string(getpid()) + ".xml");
  std::ofstream(file) << "<risposta>dal file</risposta>";
  sandbox.Registra("POST", "/s", Fisso("normale"));
  sandbox.ProgrammaGuasto("/s", Guasto::Stato(503, "occupato"));
  sandbox.ProgrammaGuasto("/s", Guasto::FaultSoap(VersioneSoap::Soap11, "Errore <interno>"));
  sandbox.ProgrammaGuasto("/s", Guasto::FaultSoap(VersioneSoap::Soap12, "Rifiutato", "env:Sender"));
  sandbox.ProgrammaGuasto("/s", Guasto::DaFile(file).Volte(2));
  std::filesystem::remove(file);
  EXPECT_THROW(Guasto::DaFile(file), std::runtime_error);

  struct Atteso {
    long stato;
    const char* tipo;
    const char* corpo;
  };
  for (const Atteso& atteso : {
           Atteso{503, "text/plain", "occupato"},
           Atteso{500, "text/xml", "<faultstring>Errore &lt;interno&gt;</faultstring>"},
           Atteso{500, "application/soap+xml",
                  "<env:Code><env:Value>env:Sender</env:Value></env:Code><env:Reason>"
                  "<env:Text xml:lang=\"it\">Rifiutato</env:Text>"},
           Atteso{200, "text/xml", "<risposta>dal file</risposta>"},
           Atteso{200, "text/xml", "<risposta>dal file</risposta>"},
           Atteso{200, "text/plain", "normale"},
       }) {
    const Esito e = Esegui(Tls("/s", "POST", "<x/>"));
    ASSERT_EQ(e.codice, CURLE_OK) << e.errore;
    EXPECT_EQ(e.stato, atteso.stato) << atteso.corpo;
    EXPECT_TRUE(e.Intestazione("Content-Type").starts_with(atteso.tipo)) << e.intestazioni;
    EXPECT_NE(e.corpo.find(atteso.corpo), std::string::npos) << e.corpo;
    if (e.stato == 500) {
      EXPECT_TRUE(BenFormato(e.corpo)) << e.corpo;
    }
  }

  sandbox.ProgrammaGuasto("/s", Guasto::Stato(502, "sempre").Volte(Guasto::kSempre));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Esegui(Http("/s")).stato, 502);
  EXPECT_EQ(Esegui(Tls("/altro")).stato, 404) << "i guasti valgono solo per il loro percorso";
  sandbox.TogliGuasti();
  EXPECT_EQ(Esegui(Tls("/s", "POST")).corpo, "normale");
}

TEST_F(SandboxTest, DelayOutlastsTheClientTimeOutThenTheRouteAnswers) {
  sandbox.Registra("GET", "/lento", Fisso("infine"));
  sandbox.ProgrammaGuasto("/lento", Guasto::Ritardo(30s));
  sandbox.ProgrammaGuasto("/lento", Guasto::Ritardo(300ms));
  // Long enough for a TLS handshake on a loaded machine, so the time-out hits the wait.
  Chiamata breve = Tls("/lento");
  breve.timeout_ms = 1500;
  EXPECT_EQ(Esegui(breve).codice, CURLE_OPERATION_TIMEDOUT);

  const auto inizio = std::chrono::steady_clock::now();
  const Esito e = Esegui(Tls("/lento"));
  EXPECT_EQ(e.corpo, "infine");
  EXPECT_GE(std::chrono::steady_clock::now() - inizio, 300ms);
  EXPECT_EQ(sandbox.Richieste("/lento").size(), 2u);
}

TEST_F(SandboxTest, StopWakesADelayedAnswerAndClosesItsConnection) {
  sandbox.ProgrammaGuasto("/lento", Guasto::Ritardo(60s));
  auto in_corso = std::async(std::launch::async, [this] { return Esegui(Tls("/lento")); });
  while (sandbox.Richieste().empty()) std::this_thread::sleep_for(10ms);

  const auto inizio = std::chrono::steady_clock::now();
  sandbox.Ferma();
  EXPECT_LT(std::chrono::steady_clock::now() - inizio, 3s);
  const Esito e = in_corso.get();
  EXPECT_TRUE(SenzaRisposta(e)) << e.codice << " " << e.errore;
  sandbox.Ferma();
}

TEST_F(SandboxTest, DroppedConnectionGivesNoAnswerOnBothListeners) {
  sandbox.Registra("GET", "/x", Fisso("dopo"));
  for (const Chiamata& c : {Tls("/x"), Http("/x")}) {
    sandbox.ProgrammaGuasto("/x", Guasto::Chiusura());
    const Esito e = Esegui(c);
    EXPECT_TRUE(SenzaRisposta(e)) << c.url << ": " << e.codice << " " << e.errore;
    EXPECT_EQ(e.stato, 0);
    EXPECT_EQ(Esegui(c).corpo, "dopo") << "il server continua a rispondere";
  }
}

TEST(Sandbox, TwoRunAtOnceEachWithItsPortsRoutesAndRecord) {
  const Pki pki = Pki::DellaCompilazione();
  Sandbox a(pki);
  Sandbox b(OpzioniSandbox{pki.Server(), pki.ChiaveServer(), pki.Ca(), false});
  EXPECT_EQ(b.PortaHttp(), 0);
  EXPECT_NE(a.Porta(), b.Porta());
  EXPECT_NE(a.PortaHttp(), a.Porta());
  EXPECT_EQ(a.Url("/x"), "https://127.0.0.1:" + std::to_string(a.Porta()) + "/x");
  EXPECT_EQ(a.UrlHttp("/x"), "http://127.0.0.1:" + std::to_string(a.PortaHttp()) + "/x");
  a.Registra("GET", "/chi", Fisso("a"));
  b.Registra("GET", "/chi", Fisso("b"));
  for (Sandbox* s : {&a, &b}) {
    const Esito e = Esegui({s->Url("/chi"), "GET", {}, {}, pki.ClientP12(), "kiro", pki.Ca()});
    EXPECT_EQ(e.corpo, s == &a ? "a" : "b") << e.errore;
    EXPECT_EQ(s->Richieste().size(), 1u);
  }

  EXPECT_THROW(Sandbox(OpzioniSandbox{pki.cartella / "nessuno.pem", pki.ChiaveServer(), pki.Ca()}),
               std::runtime_error);
  EXPECT_THROW(Sandbox(OpzioniSandbox{pki.Ca(), pki.ChiaveServer(), pki.Ca()}), std::runtime_error)
      << "chiave che non corrisponde al certificato";
}

}  // namespace
}  // namespace qzkiro::sandbox
