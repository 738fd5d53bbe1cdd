// The regional HL7 services through the stand-in host's service component:
// every scenario once against the sandbox's gateway over TLS and once answered
// by the simulator's files.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cda/clsCDA.h"
#include "core/Cartelle.h"
#include "core/Contesto.h"
#include "integration/RispostaRegione.h"
#include "qzkiro/Plugin.h"
#include "refhost/Oggetti.h"
#include "refhost/ServizioKiro.h"
#include "sandbox/DocumentiRegione.h"
#include "sandbox/GatewayHl7.h"
#include "sandbox/Sandbox.h"
#include "support/AmbientePlugin.h"
#include "support/RisultatoHost.h"
#include "util/clsBase64.h"

namespace qzkiro {
namespace {

namespace r = testsupport::risposta;
using host::Collection;
using host::Variant;
using nlohmann::json;
using testsupport::Campi;
using testsupport::Di;

// The sandbox's documents of the older layout carry their text where that
// reader looks for it: an emergency report or a letter read as an empty page
// would hide what the gateway test proves.
TEST(DocumentiLegacyTest, EmergencyReportAndLetterTextsReachTheLegacyReader) {
  namespace d = sandbox::documenti;
  const std::pair<std::string, std::string> casi[] = {
      {d::VerbaleProntoSoccorsoLegacy("PS-1", "20261201"), "Trauma cranico minore"},
      {d::LetteraDimissioneLegacy("LET-1", "20261201", "%PDF-1.4"), "Lettera di dimissione in allegato"}};
  for (const auto& [documento, atteso] : casi) {
    auto xml = std::make_shared<util::clsXML>();
    ASSERT_TRUE(xml->LoadXML(documento)) << xml->LastError();
    cda::clsCDA lettore;
    ASSERT_TRUE(lettore.InitXML(xml));
    EXPECT_NE(lettore.Text("", "").find(atteso), std::string::npos) << lettore.Text("", "");
  }
}

const std::string kReferto2 = "REF-CDA2";
const std::string kRefertoRotto = "REF-ROTTO";

class RegioneTest : public ::testing::TestWithParam<bool> {
 protected:
  RegioneTest() {
    auto& c = env_.Contesto();
    c.app = env_.App();
    c.simulatore = Simulatore();
    refhost::RegistraServizioKiro({server_.Url("/hl7"), pki_.ClientP12().string(),
                                   std::string(sandbox::Pki::kPassword), pki_.Ca().string()});
  }
  ~RegioneTest() override { host::RimuoviComponente(host::kProgIdServizioHL7); }

  bool Simulatore() const { return GetParam(); }

  // The service answers `documento`: from the gateway or from the simulator's file.
  void Risposta(const std::string& servizio, const std::string& documento) {
    if (Simulatore()) {
      env_.CartellaPlugin().Scrivi("Simulatore/" + servizio + "/" + servizio + ".xml", documento);
    } else {
      gateway_.ImpostaRisposta(servizio, documento);
    }
  }

  Variant Modello(const std::string& servizio) {
    return Variant(env_.Host()->Framework().newTemplate(
        core::PercorsoPlugin("\\servizi\\" + servizio + ".mt1"), {}));
  }

  // What reached the result container of the last operation.
  json Risultato() { return testsupport::UltimoRisultato(*env_.Host()); }

  testsupport::AmbientePlugin env_;
  Plugin plugin_;
  sandbox::Pki pki_ = sandbox::Pki::DellaCompilazione();
  sandbox::Sandbox server_{pki_};
  sandbox::GatewayHl7 gateway_{server_};
  Collection param_;
};

std::string NotificaAnagrafica(const std::string& tipo, const std::string& id,
                               const std::string& data, const std::string& documento) {
  std::string segmenti = "<PV1><PV1.50><CX.1>" + id + "</CX.1></PV1.50></PV1>" +
                         r::Txa(tipo, "HL7", data, "DOC-" + id);
  if (!documento.empty()) segmenti += r::ObxMime(r::Mime("anagrafica.xml", documento));
  return r::Gruppo("DOC_T12", segmenti);
}

TEST_P(RegioneTest, AnAnswerWithNoMessageOfInterestGivesAnEmptyContainerAndTrue) {
  Risposta("SAIN", r::Documento("DOC_T12", "<ADR_A19.QUERY_RESPONSE>" + r::Pid("X", "Y", "Z") +
                                               "</ADR_A19.QUERY_RESPONSE>"));
  Variant modello = Modello("SAIN");
  ASSERT_TRUE(plugin_.QZ02001(param_, modello)) << plugin_.LastError();
  EXPECT_EQ(Risultato(), json::array());
  EXPECT_EQ(plugin_.LastResponse().get(),
            static_cast<host::Object*>(env_.Host()->Framework().Inputs().back().get()));
  EXPECT_EQ(env_.Ui().EventiElaborati(), 0);
  if (!Simulatore()) {
    const std::string richiesta = server_.Richieste("/hl7/SAIN").at(0).corpo;
    EXPECT_NE(richiesta.find("<HD.2>Curalis." + plugin_.Versione() + "</HD.2>"), std::string::npos);
    EXPECT_EQ(richiesta.find("{{"), std::string::npos) << richiesta;
  }
}

TEST_P(RegioneTest, NotificationsByTypeWithTheRevocationEndDate) {
  const std::string gruppi =
      NotificaAnagrafica("ALL", "N1", "20261201093000", "") +
      NotificaAnagrafica("REV", "N2", "20261202101500",
                         r::Anagrafica("RSSMRA45M41L736K", "ROSSI", "20200101", "")) +
      NotificaAnagrafica("RV1", "N3", "",
                         r::Anagrafica("VRDLGU50A01L736K", "VERDI", "20200101", "")) +
      NotificaAnagrafica("RV2", "N4", "20261203",
                         r::Anagrafica("NRILSE60A41L736B", "NERI", "20200101", "20250630")) +
      r::Gruppo("DOC_T12", "<PV1><PV1.50><CX.1>N5</CX.1></PV1.50></PV1>" +
                               r::Pid("BNCGNN80A01L736Y", "BIANCHI", "GIOVANNI") +
                               r::Txa("REF", "cda_rel2", "20261204", "DOC-9")) +
      NotificaAnagrafica("XYZ", "N6", "20261205", "");
  Risposta("SAIN", r::Documento("DOC_T12", gruppi));
  Variant modello = Modello("SAIN");
  ASSERT_TRUE(plugin_.QZ02002(param_, modello)) << plugin_.LastError();
  const json risultato = Risultato();

  const auto notifiche = Di(risultato, "AddNotifica");
  ASSERT_EQ(notifiche.size(), 5u) << risultato.dump(1);  // "XYZ" is skipped
  EXPECT_EQ(notifiche[0], json({"N1", "DOC-N1", "20261201093000", "ALL", "LAB", "AU",
                                notifiche[0][6], "", "", "", "", ""}));
  EXPECT_EQ(Campi(notifiche[1], {8, 9}), json::array({"ROSSI", "MARIA"}));
  EXPECT_EQ(Campi(notifiche[4], {3, 6, 10}),
            json::array({"REF", "Referto di laboratorio", "BNCGNN80A01L736Y"}));

  // Open relationships of a revocation end on the notice's date, or today;
  // an ended one no longer names the GP.
  const auto rapporti = Di(risultato, "AddRapportoSSN");
  ASSERT_EQ(rapporti.size(), 3u);
  EXPECT_EQ(Campi(rapporti[0], {3, 5}), json::array({"RSSMRA70A01L736S", "20261202"}));
  EXPECT_EQ(rapporti[1][5], "20261206");
  EXPECT_EQ(Campi(rapporti[2], {3, 5}), json::array({"", "20250630"}));

  EXPECT_EQ(Di(risultato, "AddPrivacy").size(), 3u);
  const auto esenzioni = Di(risultato, "AddEsenzione");
  ASSERT_EQ(esenzioni.size(), 6u);
  EXPECT_EQ(esenzioni[0][1], "048");
  EXPECT_EQ(esenzioni[0][2], "") << "never expires";
  EXPECT_EQ(Di(risultato, "AddEsenzioni")[0][1], "KIRO");
  EXPECT_EQ(Di(risultato, "AddAnagrafica")[0][1], "20261206");
  EXPECT_EQ(env_.Ui().EventiElaborati(), 6);
}

TEST_P(RegioneTest, RegistryAnswerGivesPatientsRelationshipAndExemptionsWithoutConsent) {
  Risposta("SAIA", r::Documento("ADR_A19", r::Gruppo("ADR_A19", r::SegmentiAnagrafica(
                                                                    "RSSMRA45M41L736K", "ROSSI",
                                                                    "20200101", ""))));
  Variant modello = Modello("SAIA");
  modello.As<host::ITemplate>()->Add("Parametro.Paziente.CodiceFiscale", "RSSMRA45M41L736K");
  ASSERT_TRUE(plugin_.QZ02003(param_, modello)) << plugin_.LastError();
  const json risultato = Risultato();
  ASSERT_EQ(Di(risultato, "AddPaziente").size(), 1u) << risultato.dump(1);
  const auto anagrafica = Di(risultato, "AddAnagrafica").at(0);
  EXPECT_EQ(anagrafica.size(), 28u);
  EXPECT_EQ(Campi(anagrafica, {2, 4}), json::array({"RSSMRA45M41L736K", "ROSSI"}));
  EXPECT_EQ(Di(risultato, "AddRapportoSSN").at(0)[5], "");
  EXPECT_EQ(Di(risultato, "AddEsenzione").size(), 2u);
  EXPECT_TRUE(Di(risultato, "AddPrivacy").empty());
}

std::string Referto(const std::string& id, const std::string& cognome, const std::string& formato,
                    const std::string& obx) {
  // The patient carries relationship, consent and exemptions: a report hands
  // the host only the registry data.
  return r::Gruppo("DOC_T12", r::SegmentiAnagrafica("RSSMRA45M41L736K", cognome, "20200101", "") +
                                  r::Txa("REF", formato, "20261201", id) + obx);
}

TEST_P(RegioneTest, ReportsReadUnreadableOnesBecomePartialAndIncompleteOnesAreSkipped) {
  const std::string cda2 = r::FileDiProva("cda/referto_laboratorio.xml");
  const std::string legacy = r::FileDiProva("cda/referto_legacy.xml");
  ASSERT_FALSE(cda2.empty());
  const std::string gruppi =
      Referto("REF-0", "", "cda_rel2", r::ObxMime(r::Mime("referto.xml", cda2))) +
      Referto(kReferto2, "ROSSI", "cda_rel2", r::ObxMime(r::Mime("referto.xml", cda2))) +
      Referto(kRefertoRotto, "ROSSI", "cda_rel2",
              r::ObxMime(r::Mime("referto.xml", "<ClinicalDocument><non chiuso"))) +
      Referto("REF-LEG", "ROSSI", "CDA", r::ObxMime(r::Mime("referto.xml", legacy)));
  Risposta("SARR", r::Documento("DOC_T12", gruppi));
  Variant modello = Modello("SARR");
  ASSERT_TRUE(plugin_.QZ02005(param_, modello));
  EXPECT_EQ(plugin_.LastError(), "Referto incompleto o non strutturato correttamente");
  const json risultato = Risultato();
  EXPECT_EQ(Di(risultato, "AddPaziente").size(), 3u) << "the report without surname is skipped";
  EXPECT_EQ(Di(risultato, "AddAnagrafica").size(), 3u);
  for (const char* membro : {"AddRapportoSSN", "AddPrivacy", "AddEsenzioni", "AddEsenzione"}) {
    EXPECT_TRUE(Di(risultato, membro).empty()) << membro;
  }
  EXPECT_EQ(Di(risultato, "AddRefertoLaboratorio").size(), 2u) << risultato.dump(1);
  const auto parziali = Di(risultato, "AddRefertoParziale");
  ASSERT_EQ(parziali.size(), 1u);
  EXPECT_EQ(parziali[0].size(), 23u);
  EXPECT_EQ(Campi(parziali[0], {1, 4, 11, 12}),
            json::array({kRefertoRotto, "QZ02005", "Parametro.Referto.ID", kRefertoRotto}));
  for (std::size_t i = 6; i < 23; i += 2)
    if (i != 12) {
      EXPECT_EQ(parziali[0][i], "") << i;
    }

  // The second report service names its own operation; an answer whose only
  // report is incomplete is a failure.
  Risposta("SARRePS", r::Documento("DOC_T12", Referto(kRefertoRotto, "ROSSI", "cda_rel2",
                                                      r::ObxMime("non MIME"))));
  modello = Modello("SARRePS");
  ASSERT_TRUE(plugin_.QZ02006(param_, modello));
  EXPECT_EQ(Di(Risultato(), "AddRefertoParziale").at(0)[4], "QZ02006");
  Risposta("SARR", r::Documento("DOC_T12", Referto("REF-0", "", "cda_rel2", "")));
  modello = Modello("SARR");
  EXPECT_FALSE(plugin_.QZ02005(param_, modello));
  EXPECT_EQ(plugin_.LastError(), "Referto incompleto o non strutturato correttamente");
}

std::string Ricovero(const std::string& id) {
  const std::string cda2 = r::FileDiProva("cda/referto_laboratorio.xml");
  return r::Gruppo(
      "ADR_A19",
      r::Pid("RSSMRA45M41L736K", "ROSSI", "MARIA") +
          "<PV1><PV1.2>O</PV1.2><PV1.3><PL.4><HD.1>050101</HD.1></PL.4><PL.9>CARDIOLOGIA</PL.9>"
          "</PV1.3><PV1.44><TS.1>20261120</TS.1></PV1.44><PV1.45><TS.1>20261128</TS.1></PV1.45>"
          "</PV1><PV2><PV2.2><CE.1>" +
          id + "</CE.1></PV2.2><PV2.12>Dolore toracico</PV2.12></PV2>" +
          r::ObxMime(r::MimeDueParti("lettera.xml", cda2), "cda_rel2") +
          r::ObxMime(r::Mime("lettera.xml", r::LetteraLegacy("%PDF-1.4 prova")), "CDA"));
}

TEST_P(RegioneTest, AdmissionsWithDetailsLettersAndNotes) {
  Risposta("SARIR", r::Documento("ADR_A19", Ricovero("RIC-1")));
  Variant modello = Modello("SARIR");
  ASSERT_TRUE(plugin_.QZ02007(param_, modello)) << plugin_.LastError();
  const json risultato = Risultato();
  const auto ricoveri = Di(risultato, "AddRicovero");
  ASSERT_EQ(ricoveri.size(), 1u) << risultato.dump(1);
  // The admission's values in the service's order; the structure's name
  // reaches the host as a detail.
  EXPECT_EQ(ricoveri[0], json({ricoveri[0][0], "RIC-1", ricoveri[0][2], "20261120", "20261128",
                               "050101", "CARDIOLOGIA", ricoveri[0][7], ricoveri[0][8], false}));
  const auto dettagli = Di(risultato, "AddDettagli");
  ASSERT_EQ(dettagli.size(), 3u);
  EXPECT_EQ(Campi(dettagli[0], {1, 2}), json::array({"Struttura", "Ospedale di Belluno"}));
  EXPECT_EQ(dettagli[2][2], "Dolore toracico");
  const auto allegati = Di(risultato, "AddAllegato");
  ASSERT_EQ(allegati.size(), 2u);
  EXPECT_EQ(allegati[0][2], "Referto di laboratorio analisi") << "the letter's own title";
  EXPECT_EQ(allegati[1][2], "Lettera dimissioni");
  EXPECT_TRUE(std::filesystem::exists(allegati[0][1].get<std::string>()));
  EXPECT_TRUE(std::filesystem::exists(allegati[1][1].get<std::string>()));

  json voce_ricovero;
  for (const auto& c : risultato)
    if (c["member"] == "AddRicovero") voce_ricovero = c;
  const std::string html =
      util::clsBase64().Decode(voce_ricovero["children"]["appuntiRTF"].get<std::string>());
  EXPECT_TRUE(html.starts_with("<html>")) << html;
  EXPECT_TRUE(html.ends_with("</html>"));
  EXPECT_NE(html.find("Decorso regolare."), std::string::npos);
}

TEST_P(RegioneTest, NotificationDispatchAsksTheServiceWithItsOwnTemplate) {
  Risposta("SARIR", r::Documento("ADR_A19", Ricovero("RIC-77")));
  Variant notifica(std::make_shared<refhost::Notifica>("DIM", "N-1", "RIC-77", "Dimissione"));
  Variant modello;
  ASSERT_TRUE(plugin_.QZ03001(notifica, modello)) << plugin_.LastError();
  EXPECT_EQ(Di(Risultato(), "AddRicovero").at(0)[1], "RIC-77");
  const std::string testo = modello.As<host::ITemplate>()->Template();
  EXPECT_NE(testo.find("<QRD.10><CE.1>RIC-77</CE.1></QRD.10>"), std::string::npos);
  if (!Simulatore()) {
    const std::string richiesta = server_.Richieste("/hl7/SARIR").at(0).corpo;
    EXPECT_NE(richiesta.find("<QRD.10><CE.1>RIC-77</CE.1></QRD.10>"), std::string::npos);
    EXPECT_NE(richiesta.find("<MSH.5><HD.1>SARIR</HD.1></MSH.5>"), std::string::npos);
  }

  Risposta("SARR", r::Documento("DOC_T12", Referto("REF-5", "ROSSI", "cda_rel2", "")));
  notifica = Variant(std::make_shared<refhost::Notifica>("SRF", "N-2", "REF-5", "Referto"));
  ASSERT_TRUE(plugin_.QZ03001(notifica, modello)) << plugin_.LastError();
  EXPECT_EQ(Di(Risultato(), "AddRefertoParziale").at(0)[12], "REF-5");
}

TEST_P(RegioneTest, FailedSendsReleaseTheLastResponse) {
  Risposta("SAIN", r::Documento("DOC_T12", ""));
  Variant modello = Modello("SAIN");
  ASSERT_TRUE(plugin_.QZ02001(param_, modello));
  ASSERT_NE(plugin_.LastResponse(), nullptr);

  Risposta("SAASN", r::Documento("ACK", ""));
  Variant saasn = Modello("SAASN");
  EXPECT_TRUE(plugin_.QZ04001(saasn)) << plugin_.LastError();
  EXPECT_EQ(plugin_.LastResponse(), nullptr) << "SAASN reads no answer";

  Variant non_modello("testo");
  EXPECT_FALSE(plugin_.QZ02007(param_, non_modello));
  EXPECT_EQ(plugin_.LastError(), "Modello della richiesta non valido");

  if (Simulatore()) {
    modello = Modello("SARIR");  // no simulator file for it
    EXPECT_FALSE(plugin_.QZ02007(param_, modello));
    EXPECT_EQ(plugin_.LastError(), "Errore servizio Send: Nessuna risposta ricevuta.");
    return;
  }
  const std::pair<const char*, const char*> casi[] = {
      {"300", "Errore: Mancano parametri nella funzione di spedizione"},
      {"500", "Errore: Mancata connessione al Server"},
      {"501", "Errore: Mancata connessione al Server"},
      {"502", "Errore: Mancata connessione al Server"},
      {"507", "Errore: Risposta errata da parte della PA"},
      {"508", "Errore: Errore in un trattamento di porta (verifica firma?)"},
      {"509", "Errore: SOAP exception (errore di comunicazione)"},
      {"510", "Errore: Errore in un trattamento di porta (verifica firma?)"}};
  for (const auto& [codice, messaggio] : casi) {
    gateway_.ImpostaErrorLog("SAIN", codice);
    modello = Modello("SAIN");
    EXPECT_FALSE(plugin_.QZ02001(param_, modello)) << codice;
    EXPECT_EQ(plugin_.LastError(), messaggio);
    EXPECT_EQ(plugin_.LastResponse(), nullptr);
  }
}

INSTANTIATE_TEST_SUITE_P(Modi, RegioneTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Simulatore" : "Sandbox"; });

}  // namespace
}  // namespace qzkiro
