// The therapeutic-plan, vaccine-lot and IVAQ operations through the Plugin,
// against the sandbox's services over mutual TLS, with assertions from the
// sandbox's identity provider.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "integration/AmbienteRicette.h"
#include "refhost/Mef.h"
#include "sandbox/Ivaq.h"
#include "sandbox/LottiVaccino.h"
#include "sandbox/PianiTerapeutici.h"
#include "sandbox/RegioneHl7.h"

namespace qzkiro {
namespace {

using host::Variant;
using sandbox::ServizioIvaq;
using sandbox::ServizioLottiVaccino;
using sandbox::ServiziPianiTerapeutici;

constexpr const char* kBianchi = sandbox::regione::kPazienteBianchi;
constexpr const char* kRossi = sandbox::regione::kPazienteRossi;
constexpr const char* kIrraggiungibile =
    "Server non raggiungibile. Verificare la connessione o riprovare più tardi";
constexpr const char* kFlusso =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<FlussoIVAQC xmlns=\"urn:rve:indiceivaqc\">"
    "<Testata><CodiceMedico>123456</CodiceMedico><Anno>2026</Anno></Testata>"
    "<Indicatore><Codice>IVAQ01</Codice><Valore>0.82</Valore></Indicatore></FlussoIVAQC>\r\n";

class ServiziTest : public ::testing::Test, protected testsupport::AmbienteRicette {
 protected:
  ServiziTest() {
    auto& s = env_.Contesto().settings;
    s.endpoint["elencopt"] = server_.Url(piani_.PercorsoElenco());
    s.endpoint["visualizzapt"] = server_.Url(piani_.PercorsoVisualizza());
    s.endpoint["ivaq"] = server_.Url(ivaq_.Percorso());
    s.endpoint["lotti"] = server_.Url();
  }

  std::string Errore() const { return plugin_.LastError(); }

  // A MEF request of the host through QZ02031.
  bool Mef(refhost::Mef& mef) {
    Variant modello, richiesta(std::shared_ptr<refhost::Mef>(&mef, [](auto*) {}));
    return plugin_.QZ02031(modello, richiesta);
  }

  bool Lotti(const std::string& antigene, const std::string& aic, Variant& lista) {
    Variant a(antigene), b(aic);
    return plugin_.QZ02025(a, b, lista);
  }

  bool Ivaq(const std::string& documento, Variant& ricevuta) {
    Variant griglia, xml(documento), modello;
    return plugin_.QZ04043(griglia, xml, modello, ricevuta);
  }

  // A sandbox that has stopped: its address refuses connections.
  std::string UrlChiuso(const std::string& percorso) {
    sandbox::Sandbox chiuso{pki_};
    const std::string url = chiuso.Url(percorso);
    chiuso.Ferma();
    return url;
  }

  static std::vector<std::string> Righe(const Variant& lista) {
    std::vector<std::string> righe;
    if (auto c = lista.As<host::Collection>()) {
      for (std::size_t i = 1; i <= c->Count(); ++i) righe.push_back(c->Item(i).ToText());
    }
    return righe;
  }

  ServiziPianiTerapeutici piani_{server_, pki_.ChiaveFse(), "/pt", &idp_};
  ServizioIvaq ivaq_{server_, "/ivaq", &idp_};
  ServizioLottiVaccino lotti_{server_};
};

// ---- Therapeutic plans ------------------------------------------------------------

TEST_F(ServiziTest, ListAndViewGiveTheMostRecentPlanDocument) {
  refhost::Mef mef(21, kBianchi);
  ASSERT_TRUE(Mef(mef)) << Errore();
  EXPECT_EQ(mef.protocollo_sac, sandbox::pt::kPianoRecente);
  EXPECT_TRUE(mef.response.starts_with("JVBERi0xLjQK")) << "a PDF in Base64: " << mef.response;
  EXPECT_NE(mef.response_xml.find("VisualizzazionePianoTerapeuticoAifaRicevuta"),
            std::string::npos);
  EXPECT_TRUE(mef.errori.empty());
  const auto richieste = piani_.Richieste();
  ASSERT_EQ(richieste.size(), 2u);
  EXPECT_EQ(richieste[0].servizio, "elenco");
  EXPECT_EQ(richieste[0].cf_paziente, kBianchi) << "decrypted with the fse key";
  EXPECT_EQ(richieste[0].cf_medico, testsupport::AmbienteRicette::kMedico);
  EXPECT_EQ(richieste[0].dal + "|" + richieste[0].al, "19000101|");
  EXPECT_EQ(richieste[1].servizio, "visualizza");
  EXPECT_EQ(richieste[1].protocollo, sandbox::pt::kPianoRecente);
  for (const auto& [percorso, servizio] : {std::pair{piani_.PercorsoElenco(), "elenco"},
                                           {piani_.PercorsoVisualizza(), "visualizza"}}) {
    const auto r = server_.Richieste(percorso).back();
    EXPECT_EQ(r.Intestazione("SOAPAction"),
              "\"" + std::string(ServiziPianiTerapeutici::Azione(servizio)) + "\"");
    EXPECT_EQ(r.esito_validazione, Validazione()) << percorso;
    EXPECT_EQ(r.stato, 200);
    EXPECT_NE(r.soggetto_certificato, "") << "the client certificate";
  }
  EXPECT_EQ(ContestoIdp(), "C.1.1");
}

TEST_F(ServiziTest, TheListTakesTopicAndPeriodAndTheViewAnyPlanOfThePatient) {
  refhost::Mef elenco(19, kBianchi);
  elenco.param_id = "Diabete";
  elenco.dalla_data = Variant("01/02/2026");
  elenco.alla_data = Variant("2026-12-31");
  ASSERT_TRUE(Mef(elenco)) << Errore();
  EXPECT_EQ(elenco.response, "PT2026000101");
  EXPECT_NE(elenco.response_xml.find("ElencoProtocolliPianiTerapeuticiRicevuta"),
            std::string::npos);
  const auto richiesta = piani_.Richieste().back();
  EXPECT_EQ(richiesta.argomento + " " + richiesta.dal + " " + richiesta.al,
            "Diabete 20260201 20261231");
  EXPECT_TRUE(server_.Richieste(piani_.PercorsoVisualizza()).empty());

  refhost::Mef vista(20, kBianchi);
  vista.protocollo_sac = "PT2025000050";
  Variant modello, richiesta_vista(std::shared_ptr<refhost::Mef>(&vista, [](auto*) {}));
  ASSERT_TRUE(plugin_.QZ02032(modello, richiesta_vista)) << Errore();
  EXPECT_TRUE(vista.response.starts_with("JVBERi0"));
  EXPECT_EQ(piani_.Richieste().back().protocollo, "PT2025000050");
}

TEST_F(ServiziTest, AnEmptyPlanListDoesNotCallTheViewService) {
  refhost::Mef mef(21, kRossi);
  mef.protocollo_sac = "precedente";
  EXPECT_TRUE(Mef(mef)) << Errore();
  EXPECT_EQ(mef.response, "");
  EXPECT_EQ(mef.protocollo_sac, "precedente");
  EXPECT_EQ(server_.Richieste(piani_.PercorsoElenco()).size(), 1u);
  EXPECT_TRUE(server_.Richieste(piani_.PercorsoVisualizza()).empty());
}

TEST_F(ServiziTest, EachPlanServiceFailureHasItsText) {
  using E = ServiziPianiTerapeutici::Esito;
  const std::string elenco = piani_.PercorsoElenco(), vista = piani_.PercorsoVisualizza();
  const std::string nessuna = "Errore servizio RecuperaPT: Nessuna risposta ricevuta.";
  struct Caso {
    const char* nome;
    int operazione;
    std::function<void()> prepara;
    std::string errore;
    std::vector<std::pair<std::string, std::string>> codici;
  };
  const Caso casi[] = {
      {"error list",
       19,
       [&] { piani_.Programma(E::kErrori); },
       "Il server ha risposto con Codice Errore 3001 - Servizio temporaneamente non disponibile"
       "\r\nIl server ha risposto con Codice Errore 3002 - Riprovare più tardi",
       {{"3001", "Servizio temporaneamente non disponibile"}, {"3002", "Riprovare più tardi"}}},
      {"empty answer", 19, [&] { piani_.Programma(E::kVuota); }, nessuna, {}},
      {"SOAP fault",
       19,
       [&] { piani_.Programma(E::kFault); },
       "Errore interno del servizio PT",
       {}},
      {"refused connection",
       19,
       [&] { env_.Contesto().settings.endpoint["elencopt"] = UrlChiuso(elenco); },
       nessuna + "\r\n" + kIrraggiungibile,
       {}},
      {"view: no such plan",
       20,
       [] {},
       "Il server ha risposto con Codice Errore 4040 - Piano terapeutico non trovato",
       {{"4040", "Piano terapeutico non trovato"}}},
      {"view: empty answer",
       20,
       [&] { piani_.Programma(E::kVuota); },
       "Errore servizio VisualizzaPT: Nessuna risposta ricevuta.",
       {}},
  };
  for (const Caso& caso : casi) {
    // The previous case's faults and address go.
    server_.TogliGuasti();
    env_.Contesto().settings.endpoint["elencopt"] = server_.Url(elenco);
    caso.prepara();
    refhost::Mef mef(caso.operazione, kBianchi);
    mef.protocollo_sac = "PT0000000000";
    EXPECT_FALSE(Mef(mef)) << caso.nome;
    EXPECT_EQ(Errore(), caso.errore) << caso.nome;
    EXPECT_EQ(mef.errori, caso.codici) << caso.nome;
    EXPECT_EQ(mef.response, "") << caso.nome;
  }
  EXPECT_TRUE(server_.Richieste(vista).size() == 2u) << "only the two view cases reached it";
  server_.TogliGuasti();
  refhost::Mef dopo(21, kBianchi);
  EXPECT_TRUE(Mef(dopo)) << "the faults are over: " << Errore();
}

TEST_F(ServiziTest, AListThatFailsIsNotFollowedByTheView) {
  piani_.Programma(ServiziPianiTerapeutici::Esito::kErrori);
  refhost::Mef mef(21, kBianchi);
  EXPECT_FALSE(Mef(mef));
  EXPECT_TRUE(server_.Richieste(piani_.PercorsoVisualizza()).empty());
  EXPECT_EQ(mef.protocollo_sac, "");
}

// ---- Vaccine lots -------------------------------------------------------------------

TEST_F(ServiziTest, LotsAreFoundByActivePrincipleFirstElseByAic) {
  struct Caso {
    const char* antigene;
    const char* aic;
    const char* query;  // the code the service was asked for
    std::vector<std::string> righe;
  };
  const Caso casi[] = {
      {"150",
       "",
       "princVacc=150&",
       {"FLU26A\t2027-06-30\t045123019\t150", "FLU26B\t2027-03-31\t045123021\t150"}},
      {"", " 044987012 ", "aic=044987012&", {"PNE26C\t2028-01-31\t044987012\t141"}},
  };
  for (const Caso& caso : casi) {
    Variant lista;
    ASSERT_TRUE(Lotti(caso.antigene, caso.aic, lista)) << Errore();
    EXPECT_EQ(Righe(lista), caso.righe) << caso.query;
    const auto r = server_.Richieste(ServizioLottiVaccino::kPercorso).back();
    EXPECT_EQ(r.query, std::string(caso.query) +
                           "organization=urn:oid:2.16.840.1.113883.2.9.4.1.1%7C050503");
    EXPECT_EQ(r.stato, 200);
    EXPECT_TRUE(r.Intestazione("Authorization").starts_with("Basic ")) << "the add-on's account";
  }
  auto elenco = std::make_shared<host::Collection>();
  elenco->Add(Variant("voce del host"));
  Variant lista(elenco);
  ASSERT_TRUE(Lotti("141", "", lista)) << Errore();
  EXPECT_EQ(lista.As<host::Collection>(), elenco) << "the host's own list";
  EXPECT_EQ(Righe(lista),
            (std::vector<std::string>{"voce del host", "PNE26C\t2028-01-31\t044987012\t141"}));
}

TEST_F(ServiziTest, EachLotSearchFailureHasItsText) {
  const std::string percorso = ServizioLottiVaccino::kPercorso;
  struct Caso {
    const char* nome;
    std::function<void()> prepara;
    const char* antigene;
    std::string errore;
  };
  const Caso casi[] = {
      {"no code", [] {}, "", "Indicare il codice dell'antigene o il codice AIC del vaccino"},
      {"not XML",
       [&] { server_.ProgrammaGuasto(percorso, sandbox::Guasto::Stato(200, "Servizio sospeso")); },
       "150", "Non è stato possibile leggere la risposta"},
      {"server error",
       [&] {
         server_.ProgrammaGuasto(percorso, sandbox::Guasto::Stato(500, "<html>Errore</html>"));
       },
       "150", "Errore di comunicazione 500"},
      {"refused connection", [&] { env_.Contesto().settings.endpoint["lotti"] = UrlChiuso(""); },
       "150", kIrraggiungibile},
      {"no address", [&] { env_.Contesto().settings.endpoint["lotti"] = ""; }, "150",
       "Indirizzo del servizio di ricerca dei lotti non configurato"},
  };
  for (const Caso& caso : casi) {
    // The previous case's faults and address go.
    server_.TogliGuasti();
    env_.Contesto().settings.endpoint["lotti"] = server_.Url();
    caso.prepara();
    Variant lista;
    EXPECT_FALSE(Lotti(caso.antigene, "", lista)) << caso.nome;
    EXPECT_EQ(Errore(), caso.errore) << caso.nome;
    EXPECT_TRUE(lista.IsEmpty()) << caso.nome;
  }
}

// ---- IVAQ ---------------------------------------------------------------------------

TEST_F(ServiziTest, AnIvaqFlowIsSentAndItsMessageIdIsTheReceipt) {
  Variant ricevuta;
  ASSERT_TRUE(Ivaq(kFlusso, ricevuta)) << Errore();
  const auto flussi = ivaq_.Flussi();
  ASSERT_EQ(flussi.size(), 1u);
  EXPECT_EQ(ricevuta.ToText(), "MessageID " + flussi[0].message_id);
  EXPECT_EQ(flussi[0].message_id.size(), 45u) << flussi[0].message_id;
  EXPECT_EQ(flussi[0].elementi, (std::vector<std::string>{"Testata", "Indicatore"}));
  const auto r = server_.Richieste(ivaq_.Percorso()).back();
  EXPECT_TRUE(r.Intestazione("Content-Type").starts_with("application/soap+xml"));
  EXPECT_EQ(r.esito_validazione, Validazione());
  EXPECT_NE(r.corpo.find("<urn:FlussoIVAQC xmlns=\"urn:rve:indiceivaqc\"><Testata>"),
            std::string::npos);
  EXPECT_EQ(ContestoIdp(), "C.1.1");

  Variant seconda;
  ASSERT_TRUE(Ivaq(kFlusso, seconda)) << Errore();
  EXPECT_NE(seconda.ToText(), ricevuta.ToText()) << "each send has its own message id";
}

TEST_F(ServiziTest, EachIvaqFailureHasItsTextAfterThePrefix) {
  using E = ServizioIvaq::Esito;
  const std::string percorso = ivaq_.Percorso();
  struct Caso {
    const char* nome;
    std::function<void()> prepara;
    std::string documento;
    std::string errore;
  };
  const Caso casi[] = {
      {"refused flow", [&] { ivaq_.Programma(E::kErrori); }, kFlusso,
       "Codice Esito: 2222\r\nE021 - Indicatore fuori intervallo\r\nE022 - Periodo già inviato"
       "\r\nAVVISO - Verificare i dati del periodo"},
      {"SOAP 1.2 fault", [&] { ivaq_.Programma(E::kFault); }, kFlusso,
       "env:Receiver - Servizio IVAQ temporaneamente non disponibile"},
      {"refused connection",
       [&] { env_.Contesto().settings.endpoint["ivaq"] = UrlChiuso(percorso); }, kFlusso,
       kIrraggiungibile},
      {"no flow in the document", [] {}, "<FlussoPDTA><A/></FlussoPDTA>",
       "Il documento IVAQ non contiene l'elemento FlussoIVAQC"},
  };
  for (const Caso& caso : casi) {
    // The previous case's faults and address go.
    server_.TogliGuasti();
    env_.Contesto().settings.endpoint["ivaq"] = server_.Url(percorso);
    caso.prepara();
    Variant ricevuta("precedente");
    EXPECT_FALSE(Ivaq(caso.documento, ricevuta)) << caso.nome;
    EXPECT_EQ(Errore(), "Invio IVAQ:\r\n" + caso.errore) << caso.nome;
    EXPECT_EQ(ricevuta.ToText(), "precedente") << caso.nome;
  }
  EXPECT_TRUE(ivaq_.Flussi().empty());
  for (const auto& r : server_.Richieste(percorso)) {
    EXPECT_EQ(r.corpo.find("FlussoPDTA"), std::string::npos) << "the bad document was never sent";
  }
}

// ---- Simulator ----------------------------------------------------------------------

TEST_F(ServiziTest, SimulatorModeAnswersEveryOperationFromTheSandboxsOwnAnswers) {
  std::vector<std::pair<std::string, std::string>> file = ServiziPianiTerapeutici::FileSimulatore();
  for (auto& f : ServizioIvaq::FileSimulatore()) file.push_back(f);
  for (auto& f : ServizioLottiVaccino::FileSimulatore()) file.push_back(f);
  Simulatore(file);

  refhost::Mef mef(21, kBianchi);
  ASSERT_TRUE(Mef(mef)) << Errore();
  EXPECT_EQ(mef.protocollo_sac, sandbox::pt::kPianoRecente);
  EXPECT_TRUE(mef.response.starts_with("JVBERi0"));
  Variant lista;
  ASSERT_TRUE(Lotti("150", "", lista)) << Errore();
  EXPECT_EQ(Righe(lista).size(), 2u);
  Variant ricevuta;
  ASSERT_TRUE(Ivaq(kFlusso, ricevuta)) << Errore();
  EXPECT_TRUE(ricevuta.ToText().starts_with("MessageID urn:uuid:"));
  for (const auto& r : server_.Richieste()) ADD_FAILURE() << "reached the network: " << r.percorso;
}

}  // namespace
}  // namespace qzkiro
