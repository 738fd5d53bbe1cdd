#include "sandbox/Ricette.h"

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <tuple>

#include "sandbox/Conformita.h"
#include "sandbox/prova/ClienteCurl.h"
#include "sandbox/prova/RichiesteDem.h"
#include "sandbox/prova/Strumenti.h"
#include "support/DatiPubblici.h"
#include "util/Libxml.h"

// What the services accept, and the scripted outcomes the add-on meets, are
// driven end to end by tests/integration/ricette_test.cpp; here, what they
// refuse and how.

namespace qzkiro::sandbox {
namespace {

using Campi = std::map<std::string, std::string>;
using Testi = std::vector<std::string>;

constexpr const char* kMedico = "MDCPRV70A01H501X";
constexpr const char* kPaziente = "RSSMRA80A01H501U";
constexpr const char* kNsRicevute = ".xsd.dem.sanita.finanze.it";

using prova::Cifra;

// A request element in its namespace (the lower-case root name), fields by name.
std::string Modulo(const std::string& radice, const Campi& campi, const std::string& righe = {}) {
  std::string ns = radice;
  for (char& c : ns) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return prova::ElementoDem(radice, "http://" + ns + kNsRicevute,
                            prova::Campi(campi.begin(), campi.end()), righe);
}

// An answer read back by local name, in document order ("<assente>" when missing).
class Lettura {
 public:
  explicit Lettura(std::string xml) : xml_(std::move(xml)) {}
  Testi Tutti(const std::string& nome) const {
    return prova::Xpath(xml_, "//*[local-name()='" + nome + "']");
  }
  std::string operator[](const std::string& nome) const {
    return prova::Primo(xml_, "//*[local-name()='" + nome + "']");
  }

 private:
  std::string xml_;
};

class RicetteTest : public ::testing::Test {
 protected:
  Pki pki = Pki::DellaCompilazione();
  Sandbox sandbox{pki};
  ServiziRicetta servizi{sandbox, pki.ChiaveFse()};
  const std::string paziente = Cifra(pki.Fse(), kPaziente);

  // With the service's own HTTP headers unless `intestazioni` are given.
  prova::Esito Posta(const std::string& servizio, const std::string& busta,
                     Testi intestazioni = {}) {
    if (intestazioni.empty()) intestazioni = prova::IntestazioniDem(servizio);
    return prova::Esegui(prova::Tls(sandbox, pki, "/dem/" + servizio, "POST", busta, intestazioni));
  }
  Lettura Chiedi(const std::string& servizio, const std::string& corpo) {
    const prova::Esito e = Posta(servizio, prova::BustaDem(corpo));
    EXPECT_EQ(e.stato, 200) << servizio << ": " << e.errore << e.corpo;
    EXPECT_TRUE(e.Intestazione("Content-Type").starts_with("text/xml")) << e.intestazioni;
    return Lettura(e.corpo);
  }
  // A red send for kPaziente with the fields the kit requires, changed by `cambi`.
  std::string Rossa(Campi cambi = {}, int righe = 2) {
    cambi.emplace("codiceAss", paziente);
    return prova::Rossa(cambi, {}, righe);
  }
  Lettura Invia(const Campi& cambi = {}, int righe = 2, std::string servizio = "InvioPrescritto") {
    return Chiedi(servizio, Rossa(cambi, righe));
  }
  Lettura Annulla(const std::string& nre, const std::string& medico = kMedico) {
    return Chiedi("AnnullaPrescritto", prova::Annullamento(nre, medico));
  }
  Lettura Vista(const std::string& nre, const std::string& medico = kMedico) {
    return Chiedi("VisualizzaPrescritto", prova::Visualizzazione(nre, medico));
  }
  // The stored prescription; an empty one when there is none.
  RicettaRegistrata Registrata(const std::string& nre) const {
    return servizi.Ricetta(nre).value_or(RicettaRegistrata{});
  }
};

TEST_F(RicetteTest, ViewAndCancelRefuseAnotherDoctorAUsedNumberAndACancelledOne) {
  const std::string nre = Invia()["nre"];
  const std::string estraneo = "ALTMDC70A01H501Z";
  EXPECT_EQ(Vista(nre, estraneo)["codEsitoVisualizzazione"], "2222");
  EXPECT_EQ(Annulla(nre, estraneo)["tipoErrore"], "Bloccante");
  EXPECT_FALSE(Registrata(nre).annullata);

  const std::string proprio = "190A12345678901";
  EXPECT_EQ(Invia({{"nre", proprio}}, 1, "InvioPrescrittoErmete")["nre"], proprio);
  const Lettura doppio = Invia({{"nre", proprio}}, 1, "InvioPrescrittoEco");
  EXPECT_EQ(doppio["codEsitoInserimento"] + " " + doppio["esito"], "2222 NRE già utilizzato");

  EXPECT_EQ(Annulla(nre)["codEsitoAnnullamento"], "0000");
  EXPECT_EQ(Vista(nre)["statoProcesso"], "4");
  const Lettura ancora = Annulla(nre);
  EXPECT_EQ(
      ancora["codEsitoAnnullamento"] + ancora["codEsito"] + ancora["esito"] + ancora["tipoErrore"],
      "22225005Ricetta già annullataBloccante");
}

TEST_F(RicetteTest, PatientCodeAndEssentialFieldsAreChecked) {
  const std::vector<std::tuple<Campi, int, Testi>> casi = {
      {{{"tipoRic", "EE"}, {"codiceAss", ""}}, 2, {"1080"}},
      {{{"codiceAss", ""}}, 2, {"1070"}},
      {{{"codiceAss", "QUJD"}}, 2, {"1060"}},
      {{{"codiceAss", Cifra(pki.Idp(), kPaziente)}}, 2, {"1060"}},
      {{{"codiceAss", Cifra(pki.Fse(), "RSSMRA80")}}, 2, {"1060"}},
      {{{"cfMedico1", "MDC"}, {"codRegione", "19A"}, {"dataCompilazione", "2026-13-05 10:20:30"}},
       1,
       {"1010", "1020", "1050"}},
      {{{"cognNome", ""}}, 1, {"1030"}},
  };
  for (const auto& [cambi, righe, codici] : casi) {
    SCOPED_TRACE(codici.front());
    const Lettura l = Invia(cambi, righe);
    EXPECT_EQ(l["codEsitoInserimento"] + l["nre"] + l["tipoErrore"], "2222<assente>Bloccante");
    EXPECT_EQ(l.Tutti("codEsito"), codici);
  }
  EXPECT_TRUE(servizi.Ricette().empty()) << "le ricette rifiutate non restano";
}

// The appropriateness check stays until a send confirms it with a dispReg of "9…".
TEST_F(RicetteTest, OnlyANineConfirmsAnAppropriatenessCheck) {
  servizi.Programma(ServiziRicetta::Esito::kAppropriatezza);
  for (const char* disp_reg : {"", "X"}) {
    const Lettura l = Invia(*disp_reg ? Campi{{"dispReg", disp_reg}} : Campi{});
    EXPECT_EQ(l["codEsitoInserimento"] + " " + l["codEsito"], "2222 9") << disp_reg;
  }
  EXPECT_TRUE(servizi.Ricette().empty());
  EXPECT_EQ(Registrata(Invia({{"dispReg", "9_2"}})["nre"]).disp_reg, "9_2");
  EXPECT_EQ(Invia()["codEsitoInserimento"], "0000") << "copione esaurito";
}

TEST_F(RicetteTest, OnlySoap11WithTheServicesHeadersAndAnAssertionReachesIt) {
  const std::string annullo = prova::Annullamento("190A99999999999", kMedico);
  const std::string busta = prova::BustaDem(annullo), annulla = "AnnullaPrescritto";
  const std::string azione(ServiziRicetta::Azione(annulla));
  const std::string vista(ServiziRicetta::Azione("VisualizzaPrescritto"));
  const std::string xml = "Content-Type: text/xml", soap12 = "application/soap+xml; action=\"";
  const std::string diversa = "SOAPAction non corrispondente al servizio: '";
  const std::string mancante = "ERR_00011 - Asserzione mancante";
  // The same names in other namespaces are other elements.
  const auto altro_ns = [](std::string testo, const std::string& ns) {
    return testo.replace(testo.find(ns), ns.size(), "urn:altro");
  };
  const std::string wsse = altro_ns(busta, "http://docs.oasis-open.org/wss/2004/01/");
  const std::string soap_12 =
      "<e:Envelope xmlns:e=\"http://www.w3.org/2003/05/soap-envelope\"><e:Body><x/></e:Body>"
      "</e:Envelope>";
  struct Caso {
    std::string servizio, busta;
    Testi intestazioni;  // none: the service's own
    std::string fault;   // "": the service answered
  };
  const std::vector<Caso> casi = {
      {annulla, busta, {xml + "; charset=utf-8", "SOAPAction: \"" + azione + "\""}, ""},
      {annulla, busta, {"Content-Type: TEXT/XML", "SOAPAction: " + azione}, ""},
      {annulla,
       busta,
       {xml, "SOAPAction: \"" + vista + "\""},
       diversa + "\"" + vista + "\"' (attesa '" + azione + "')"},
      {annulla, busta, {xml}, diversa + "' (attesa '" + azione + "')"},
      {annulla,
       busta,
       {"Content-Type: " + soap12 + azione + "\""},
       "Content-Type non ammesso per SOAP 1.1: '" + soap12 + azione + "\"' (atteso text/xml)"},
      {"InvioPrescritto", prova::BustaDem(annullo, ""), {}, mancante},
      {"InvioPrescritto", wsse, {}, mancante},
      {"InvioPrescritto",
       prova::BustaDem(altro_ns(Rossa(), "http://invioprescrittorichiesta")),
       {},
       "Richiesta inattesa: InvioPrescrittoRichiesta"},
      {"InvioPrescritto", soap_12, {}, "Messaggio SOAP 1.1 non leggibile"},
      {"InvioPrescritto", "non XML", {}, "Messaggio SOAP 1.1 non leggibile"},
      {"InvioPrescritto", busta, {}, "Richiesta inattesa: AnnullaPrescrittoRichiesta"},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.fault.empty() ? c.intestazioni.front() : c.fault);
    const prova::Esito e = Posta(c.servizio, c.busta, c.intestazioni);
    EXPECT_EQ(e.stato, c.fault.empty() ? 200 : 500);
    const Lettura l(e.corpo);
    EXPECT_EQ(c.fault.empty() ? l["codEsito"] : l["faultstring"],
              c.fault.empty() ? "5002" : c.fault);
    EXPECT_EQ(l["faultcode"], c.fault.empty() ? "<assente>" : "soap:Client");
    const Richiesta registrata = sandbox.Richieste().back();
    EXPECT_EQ(registrata.stato, e.stato);
    if (!c.intestazioni.empty()) {  // a refused binding is also the recorded validation
      EXPECT_EQ(registrata.esito_validazione.starts_with("non valida: " + c.fault),
                !c.fault.empty())
          << registrata.esito_validazione;
    }
  }
}

TEST_F(RicetteTest, AWhiteCancelWantsItsOwnNumberAndPatient) {
  const auto bianca = [&](const std::string& codice) {
    return Chiedi("InvioPrescrittoRicettaBianca",
                  Modulo("InvioPrescrittoRicettaBiancaRichiesta",
                         {{"cfMedico", kMedico},
                          {"codRegione", "190"},
                          {"codicePaziente", codice},
                          {"cognNome", "ROSSI MARIO"},
                          {"dataCompilazione", "2026-03-05 10:20:30"}},
                         "<t:dettaglioPrescrizioneRicettaBianca xmlns:t=\"urn:t\"/>"));
  };
  const auto annulla = [&](const std::string& nrbe, const std::string& codice) {
    return Chiedi("AnnullaPrescrittoRicettaBianca",
                  Modulo("AnnullaPrescrittoRicettaBiancaRichiesta",
                         {{"nrbe", nrbe}, {"cfMedico", kMedico}, {"codicePaziente", codice}}));
  };
  EXPECT_EQ(bianca("")["codEsito"], "1070");
  const std::string nrbe = bianca(paziente)["nrbe"];
  EXPECT_EQ(Annulla(nrbe)["codEsito"], "5002") << "un NRBE non è un NRE";
  EXPECT_EQ(annulla(nrbe, Cifra(pki.Fse(), "BNCLRA80A41H501K"))["codEsito"], "5004");
  EXPECT_EQ(annulla("190B99999999999", paziente)["codEsito"], "5002");
  EXPECT_FALSE(Registrata(nrbe).annullata);
}

// The add-on's reading of both answers is in CancelWarningsAndAlreadyCancelled…
// of tests/integration/ricette_test.cpp.
TEST_F(RicetteTest, ScriptedCancelAnswersStillCancel) {
  servizi.ProgrammaAnnullamento(ServiziRicetta::EsitoAnnullamento::kNonBloccante);
  servizi.ProgrammaAnnullamento(ServiziRicetta::EsitoAnnullamento::k1120);
  for (const char* atteso : {"2222 4010 Non bloccante", "2222 1120 Bloccante"}) {
    const std::string nre = Invia()["nre"];
    const Lettura l = Annulla(nre);
    EXPECT_EQ(l["codEsitoAnnullamento"] + " " + l["codEsito"] + " " + l["tipoErrore"], atteso);
    EXPECT_TRUE(Registrata(nre).annullata) << atteso;
  }
}

TEST(ServiziRicettaConIdp, AcceptOnlyAssertionsTheProviderIssued) {
  const Pki pki = Pki::DellaCompilazione();
  Sandbox sandbox(pki);
  IdentityProvider idp(sandbox, pki.ChiaveIdp());
  idp.AggiungiUtente("demo", "Kiro.2026");
  ServiziRicetta servizi(sandbox, pki.ChiaveFse(), "/dem", &idp);
  const std::string asserzione = prova::Accedi(sandbox, pki);
  const auto inizio = asserzione.find("ID=\"") + 4;
  const std::string id = asserzione.substr(inizio, asserzione.find('"', inizio) - inizio);
  ASSERT_TRUE(idp.HaEmesso(id)) << asserzione;

  const std::string vista = prova::Visualizzazione("190A99999999999", kMedico);
  const auto chiedi = [&](const std::string& asserzione_id) {
    return prova::Esegui(
        {sandbox.Url("/dem/VisualizzaPrescritto"), "POST", prova::BustaDem(vista, asserzione_id),
         prova::IntestazioniDem("VisualizzaPrescritto"), pki.ClientP12(), "kiro", pki.Ca()});
  };
  EXPECT_EQ(Lettura(chiedi(id).corpo)["codEsito"], "5002");
  const prova::Esito rifiuto = chiedi("_sbx999");
  EXPECT_EQ(rifiuto.stato, 500);
  EXPECT_EQ(Lettura(rifiuto.corpo)["faultstring"], "ERR_00011 - Asserzione non valida");
}

TEST(ServiziRicettaSenzaSchemi, AcceptAsBeforeAndSaySoOnce) {
  static int prova = 0;  // a folder never asked for before, also when the test is repeated
  const std::filesystem::path assente =
      std::filesystem::path(::testing::TempDir()) / ("schemi-assenti-" + std::to_string(++prova));
  const Pki pki = Pki::DellaCompilazione();
  Sandbox sandbox(pki);
  ::testing::internal::CaptureStderr();
  ServiziRicetta servizi(sandbox, pki.ChiaveFse(), "/dem", nullptr, assente);
  ServiziRicetta altri(sandbox, pki.ChiaveFse(), "/altro", nullptr, assente);
  const std::string avvisi = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(avvisi, "Sandbox: cartella degli schemi pubblici assente (" + assente.string() +
                        "): validazione delle richieste disattivata\n");
  EXPECT_FALSE(servizi.Validazione() || altri.Validazione());
  const std::string scambiato = "<p:pinCode></p:pinCode><p:nre>190A99999999999</p:nre>";
  std::string annullo = prova::Annullamento("190A99999999999", kMedico);
  annullo.replace(annullo.find(scambiato), scambiato.size(),
                  "<p:nre>190A99999999999</p:nre><p:pinCode></p:pinCode>");
  const prova::Esito e = prova::Esegui(
      {sandbox.Url("/dem/AnnullaPrescritto"), "POST", prova::BustaDem(annullo),
       prova::IntestazioniDem("AnnullaPrescritto"), pki.ClientP12(), "kiro", pki.Ca()});
  EXPECT_EQ(Lettura(e.corpo)["codEsito"], "5002") << e.corpo;
  EXPECT_EQ(sandbox.Richieste().back().esito_validazione, "non validata");
}

// The tests that need the national kit's schemas.
class RicetteCampioni : public RicetteTest {
 protected:
  // The receipt element of an answer as a document of its own: a receipt in a
  // namespace the kit does not declare cannot then pass unchecked.
  static std::string Ricevuta(const std::string& risposta) {
    const util::libxml::Documento doc =
        util::libxml::LeggiMemoria(risposta, nullptr, nullptr, XML_PARSE_NONET);
    xmlNode* nodo = doc ? xmlDocGetRootElement(doc.get()) : nullptr;
    for (int livello = 0; livello < 2 && nodo; ++livello) {
      nodo = nodo->children;
      while (nodo && nodo->type != XML_ELEMENT_NODE) nodo = nodo->next;
    }
    if (!nodo) return {};
    const util::libxml::Documento sola(xmlNewDoc(BAD_CAST "1.0"));
    xmlDocSetRootElement(sola.get(), xmlDocCopyNode(nodo, sola.get(), 1));
    xmlChar* testo = nullptr;
    int n = 0;
    xmlDocDumpMemory(sola.get(), &testo, &n);
    return util::libxml::Possiedi(testo);
  }
  std::string Grezzo(const std::string& servizio, const std::string& corpo) {
    return Posta(servizio, prova::BustaDem(corpo)).corpo;
  }
};

TEST_F(RicetteCampioni, SchemaViolationsAreRefusedWithAFaultNamingTheElement) {
  QZKIRO_RICHIEDE_CAMPIONI();
  ASSERT_TRUE(servizi.Validazione());
  std::string annullo = prova::Annullamento("190A99999999999", kMedico);
  const std::string scambiato = "<p:pinCode></p:pinCode><p:nre>190A99999999999</p:nre>";
  EXPECT_EQ(Lettura(Grezzo("AnnullaPrescritto", annullo))["codEsito"], "5002");
  EXPECT_EQ(sandbox.Richieste().back().esito_validazione, "valida");
  annullo.replace(annullo.find(scambiato), scambiato.size(),
                  "<p:nre>190A99999999999</p:nre><p:pinCode></p:pinCode>");
  const prova::Esito e = Posta("AnnullaPrescritto", prova::BustaDem(annullo));
  EXPECT_EQ(e.stato, 500);
  const std::string atteso =
      "Richiesta non conforme allo schema: riga 1, elemento 'nre': Element "
      "'{http://annullaprescrittorichiesta.xsd.dem.sanita.finanze.it}nre': This element is not "
      "expected. Expected is ( "
      "{http://annullaprescrittorichiesta.xsd.dem.sanita.finanze.it}pinCode ).";
  EXPECT_EQ(Lettura(e.corpo)["faultstring"], atteso);
  EXPECT_EQ(Lettura(e.corpo)["faultcode"], "soap:Client");
  const Richiesta r = sandbox.Richieste().back();
  EXPECT_EQ(r.esito_validazione, "non valida: " + atteso);
  EXPECT_EQ(r.rotta + " " + r.servizio + " " + std::to_string(r.stato),
            "/dem/AnnullaPrescritto mef 500");

  // White requests: no public schema for the body, the envelope and header still checked.
  const std::string bianca = Modulo("AnnullaPrescrittoRicettaBiancaRichiesta",
                                    {{"nrbe", "190B99999999999"}, {"cfMedico", kMedico}});
  EXPECT_EQ(Lettura(Grezzo("AnnullaPrescrittoRicettaBianca", bianca))["codEsito"], "1060");
  EXPECT_EQ(sandbox.Richieste().back().esito_validazione, "valida");
  std::string senza_issuer = prova::BustaDem(bianca);
  const std::string issuer = "<saml:Issuer>http://identityAndAssertionsProvider</saml:Issuer>";
  senza_issuer.erase(senza_issuer.find(issuer), issuer.size());
  const prova::Esito rifiuto = Posta("AnnullaPrescrittoRicettaBianca", senza_issuer);
  EXPECT_EQ(rifiuto.stato, 500);
  EXPECT_NE(Lettura(rifiuto.corpo)["faultstring"].find("elemento 'Subject'"), std::string::npos)
      << rifiuto.corpo;
}

TEST_F(RicetteCampioni, EveryKindOfReceiptConformsToTheKit) {
  QZKIRO_RICHIEDE_CAMPIONI();
  using E = ServiziRicetta::Esito;
  for (E e : {E::kAppropriatezza, E::kErrori, E::kAvviso7237, E::kTimeout}) servizi.Programma(e);
  std::vector<std::string> ricevute;
  for (const Campi& cambi : std::vector<Campi>{{}, {{"dispReg", "9"}}, {}, {}, {}}) {
    ricevute.push_back(Grezzo("InvioPrescritto", Rossa(cambi)));
  }
  const Campi estero = {{"tipoRic", "EE"},
                        {"codiceAss", ""},
                        {"statoEstero", "DE"},
                        {"dataNascitaEstero", "1980-02-29"},
                        {"codSpecializzazione", "MMG01"},
                        {"dataScadTessera", "2031-12-31"}};
  ricevute.push_back(Grezzo("InvioPrescritto", Rossa(estero)));
  const std::string nre = Lettura(ricevute.back())["nre"];
  ricevute.push_back(Grezzo("InvioPrescritto", Rossa({{"codiceAss", ""}})));
  ricevute.push_back(Grezzo("VisualizzaPrescritto", prova::Visualizzazione(nre, kMedico)));
  ricevute.push_back(
      Grezzo("VisualizzaPrescritto", prova::Visualizzazione("190A99999999999", kMedico)));
  ricevute.push_back(Grezzo("AnnullaPrescritto", prova::Annullamento(nre, kMedico)));
  ricevute.push_back(Grezzo("AnnullaPrescritto", prova::Annullamento(nre, kMedico)));
  servizi.ProgrammaAnnullamento(ServiziRicetta::EsitoAnnullamento::kNonBloccante);
  ricevute.push_back(
      Grezzo("AnnullaPrescritto", prova::Annullamento(Lettura(ricevute[1])["nre"], kMedico)));
  const Testi attesi = {"2222 9",    "0000 ", "2222 4101", "0000 7237", "1111 ",     "0000 ",
                        "2222 1070", "0000 ", "2222 5002", "0000 ",     "2222 5005", "2222 4010"};
  const auto kit = Schemi::Condivisi(testsupport::CartellaDatiPubblici());
  ASSERT_NE(kit, nullptr);
  ASSERT_EQ(ricevute.size(), attesi.size());
  for (std::size_t i = 0; i < ricevute.size(); ++i) {
    const Lettura l(ricevute[i]);
    const std::string esito = l["codEsitoInserimento"] != "<assente>" ? l["codEsitoInserimento"]
                              : l["codEsitoVisualizzazione"] != "<assente>"
                                  ? l["codEsitoVisualizzazione"]
                                  : l["codEsitoAnnullamento"];
    const Testi codici = l.Tutti("codEsito");
    EXPECT_EQ(esito + " " + (codici.empty() ? "" : codici.front()), attesi[i]) << ricevute[i];
    const auto violazione = PrimaViolazione(*kit, Ricevuta(ricevute[i]));
    EXPECT_FALSE(violazione) << attesi[i] << ": " << DescriviViolazione(*violazione);
  }
  EXPECT_EQ(Lettura(ricevute[7]).Tutti("codSpecializzazione"), Testi{"MMG01"});
}

}  // namespace
}  // namespace qzkiro::sandbox
