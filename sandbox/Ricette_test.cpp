#include "sandbox/Ricette.h"

#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rsa.h>

#include <cctype>
#include <fstream>
#include <iterator>
#include <map>
#include <tuple>

#include "sandbox/Conformita.h"
#include "sandbox/prova/ClienteCurl.h"
#include "sandbox/prova/Strumenti.h"
#include "sandbox/prova/RichiesteDem.h"
#include "support/DatiPubblici.h"
#include "util/Libxml.h"

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

// An answer read back: each element's local name, namespace and text, in document order.
class Lettura {
 public:
  explicit Lettura(const std::string& xml) {
    const util::libxml::Documento doc = util::libxml::LeggiMemoria(xml, nullptr, nullptr, 0);
    if (doc) Raccogli(xmlDocGetRootElement(doc.get()));
  }
  Testi Tutti(const std::string& nome, bool ns = false) const {
    Testi testi;
    for (const auto& voce : voci_) {
      if (std::get<0>(voce) == nome) testi.push_back(ns ? std::get<1>(voce) : std::get<2>(voce));
    }
    return testi;
  }
  std::string operator[](const std::string& nome) const {
    const auto testi = Tutti(nome);
    return testi.empty() ? "<assente>" : testi.front();
  }
  // The namespace of the first `nome`, without the common suffix of the receipts'.
  std::string Ns(const std::string& nome) const {
    const auto ns = Tutti(nome, true);
    return ns.empty() ? "" : ns.front().substr(0, ns.front().find(kNsRicevute));
  }

 private:
  void Raccogli(const xmlNode* n) {
    for (; n; n = n->next) {
      if (n->type != XML_ELEMENT_NODE) continue;
      voci_.emplace_back(reinterpret_cast<const char*>(n->name),
                         n->ns ? reinterpret_cast<const char*>(n->ns->href) : "",
                         util::libxml::Possiedi(xmlNodeGetContent(n)));
      Raccogli(n->children);
    }
  }
  std::vector<std::tuple<std::string, std::string, std::string>> voci_;
};

class RicetteTest : public ::testing::Test {
 protected:
  Pki pki = Pki::DellaCompilazione();
  Sandbox sandbox{pki};
  ServiziRicetta servizi{sandbox, pki.ChiaveFse()};
  const std::string paziente = Cifra(pki.Fse(), kPaziente);

  prova::Esito Posta(const std::string& servizio, const std::string& busta,
                     std::optional<Testi> intestazioni = std::nullopt) {
    return prova::Esegui({sandbox.Url("/dem/" + servizio), "POST", busta,
                          intestazioni.value_or(prova::IntestazioniDem(servizio)), pki.ClientP12(),
                          "kiro", pki.Ca()});
  }
  Lettura Chiedi(const std::string& servizio, const std::string& corpo) {
    const prova::Esito e = Posta(servizio, prova::BustaDem(corpo));
    EXPECT_EQ(e.stato, 200) << servizio << ": " << e.errore << e.corpo;
    EXPECT_TRUE(e.Intestazione("Content-Type").starts_with("text/xml")) << e.intestazioni;
    return Lettura(e.corpo);
  }
  // A red send with the fields the kit requires, changed by `cambi`.
  std::string Rossa(const Campi& cambi = {}, int righe = 2) {
    Campi campi = {{"pinCode", ""},
                   {"cfMedico1", kMedico},
                   {"codRegione", "190"},
                   {"codASLAo", "201"},
                   {"codSpecializzazione", "P"},
                   {"codiceAss", paziente},
                   {"cognNome", "ROSSI MARIO"},
                   {"tipoPrescrizione", "P"},
                   {"dataCompilazione", "2026-03-05 10:20:30"},
                   {"tipoVisita", "A"}};
    for (const auto& [nome, valore] : cambi) campi[nome] = valore;
    std::vector<prova::Valori> elenco;
    for (int i = 0; i < righe; ++i) {
      elenco.push_back({{"codProdPrest", "P" + std::to_string(i)}, {"quantita", "1"}});
    }
    return prova::InvioRosso(campi, elenco);
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

TEST_F(RicetteTest, SendAllocatesAnNreThatViewAndCancelFind) {
  const Lettura invio = Invia();
  EXPECT_EQ(invio.Ns("nre"), "http://invioprescrittoricevuta");
  EXPECT_EQ(invio["codEsitoInserimento"], "0000");
  const std::string nre = invio["nre"], codice = invio["codAutenticazione"];
  EXPECT_TRUE(nre.size() == 15 && nre.starts_with("190A")) << nre;
  EXPECT_TRUE(codice.size() == 6 && codice.find_first_not_of("0123456789") == std::string::npos);
  const RicettaRegistrata ricetta = Registrata(nre);
  EXPECT_EQ(ricetta.cf_paziente + " " + ricetta.percorso,
            kPaziente + std::string(" /dem/InvioPrescritto"));
  EXPECT_EQ(ricetta.righe, 2);
  EXPECT_EQ(ricetta.corpo, sandbox.Richieste().at(0).corpo);

  const std::string proprio = "190A12345678901";
  EXPECT_EQ(Invia({{"nre", proprio}}, 1, "InvioPrescrittoErmete")["nre"], proprio);
  EXPECT_EQ(Registrata(proprio).percorso, "/dem/InvioPrescrittoErmete");
  const Lettura doppio = Invia({{"nre", proprio}}, 1, "InvioPrescrittoEco");
  EXPECT_EQ(doppio["codEsitoInserimento"] + " " + doppio["esito"], "2222 NRE già utilizzato");

  const Lettura vista = Vista(nre);
  EXPECT_EQ(vista.Ns("nre"), "http://visualizzaprescrittoricevuta");
  EXPECT_EQ(vista["codEsitoVisualizzazione"] + vista["statoProcesso"] + vista["cfMedico1"],
            "00003" + std::string(kMedico));
  EXPECT_EQ(vista["codAutenticazione"] + vista["dataInserimento"],
            codice + invio["dataInserimento"]);
  EXPECT_EQ(vista.Tutti("codProdPrest"), Testi({"P0", "P1"}));
  EXPECT_EQ(vista.Ns("DettaglioPrescrizione"), "http://tipodati");
  EXPECT_EQ(vista["messaggio"], "Ricetta visualizzata dal medico prescrittore");

  const std::string estraneo = "ALTMDC70A01H501Z";
  EXPECT_EQ(Vista(nre, estraneo)["codEsitoVisualizzazione"], "2222");
  EXPECT_EQ(Annulla(nre, estraneo)["tipoErrore"], "Bloccante");
  EXPECT_FALSE(Registrata(nre).annullata);
  const Lettura annullo = Annulla(nre);
  EXPECT_EQ(annullo.Ns("nre") + " " + annullo["codEsitoAnnullamento"],
            "http://annullaprescrittoricevuta 0000");
  EXPECT_TRUE(Registrata(nre).annullata);
  EXPECT_EQ(Vista(nre)["statoProcesso"], "4");
  const Lettura ancora = Annulla(nre);
  EXPECT_EQ(
      ancora["codEsitoAnnullamento"] + ancora["codEsito"] + ancora["esito"] + ancora["tipoErrore"],
      "22225005Ricetta già annullataBloccante");
  EXPECT_EQ(ancora.Ns("codEsito"), "http://tipodati");
  EXPECT_EQ(Annulla("190A99999999999")["codEsito"] + Vista("190A99999999999")["codEsito"],
            "50025002");
}

TEST_F(RicetteTest, PatientCodeAndEssentialFieldsAreChecked) {
  const Lettura estero = Invia({{"tipoRic", "EE"}, {"codiceAss", ""}, {"statoEstero", "DE"}});
  EXPECT_EQ(estero["codEsitoInserimento"], "0000");
  EXPECT_EQ(Registrata(estero["nre"]).tipo_ric + Registrata(estero["nre"]).cf_paziente, "EE");
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
    const Lettura l = Invia(cambi, righe);
    EXPECT_EQ(l["codEsitoInserimento"] + l["nre"] + l["tipoErrore"], "2222<assente>Bloccante");
    EXPECT_EQ(l.Tutti("codEsito"), codici) << codici.front();
  }
  EXPECT_EQ(servizi.Ricette().size(), 1u) << "le ricette rifiutate non restano";
}

TEST_F(RicetteTest, ScriptedOutcomesApplyInOrderToRedSends) {
  using E = ServiziRicetta::Esito;
  for (E e : {E::kAppropriatezza, E::kTimeout, E::kErrori, E::kAvviso7237, E::kAvvisoGenerico,
              E::kAsserzioneScaduta, E::kFault}) {
    servizi.Programma(e);
  }
  for (int i = 0; i < 2; ++i) {
    const Lettura l = Invia({{"dispReg", "X"}});
    EXPECT_EQ(l["codEsitoInserimento"] + " " + l["codEsito"] + " " + l["esito"],
              "2222 9 Prestazione non appropriata: verificare le indicazioni prescrittive. "
              "Confermare l'invio.");
  }
  EXPECT_EQ(Registrata(Invia({{"dispReg", "9_2"}})["nre"]).disp_reg, "9_2");

  const Lettura timeout = Invia();
  EXPECT_EQ(timeout["codEsitoInserimento"] + timeout["nre"], "1111<assente>");
  const Lettura errori = Invia();
  EXPECT_EQ(errori["codEsitoInserimento"] + " " + std::to_string(errori.Tutti("esito").size()),
            "2222 2");
  EXPECT_NE(errori["esito"].find('\n'), std::string::npos) << "a capo conservato";
  EXPECT_EQ(errori.Tutti("codice"), Testi({"AVVISO", "URL"}));
  EXPECT_EQ(errori.Tutti("messaggio").back(),
            "https%3a%2f%2fsanita.example.it%2fdettagli%3fnre%3d1%26tipo%3d2");
  const Lettura avviso = Invia();
  EXPECT_EQ(avviso["codEsitoInserimento"] + avviso["nre"].substr(0, 4), "0000190A");
  EXPECT_EQ(avviso.Tutti("codEsito"), Testi({"7237", "1169"}));
  EXPECT_EQ(avviso.Tutti("tipoErrore"), Testi({"Non bloccante", "Non bloccante"}));
  EXPECT_EQ(Invia()["codEsito"], "4001");
  EXPECT_EQ(Invia()["esito"], "Asserzione scaduta");
  const prova::Esito fault = Posta("InvioPrescritto", prova::BustaDem(Rossa()));
  EXPECT_EQ(fault.stato, 500);
  EXPECT_EQ(Lettura(fault.corpo)["faultstring"],
            "ERR_00055 Data e ora della richiesta non allineate");
  EXPECT_EQ(Invia()["codEsito"], "<assente>") << "copione esaurito";
  EXPECT_EQ(servizi.Ricette().size(), 4u);
}

TEST_F(RicetteTest, OnlySoap11RequestsWithAnAssertionReachTheServices) {
  const std::string annullo = prova::Annullamento("190A12345678901", kMedico);
  // The same names in other namespaces are other elements.
  const auto altro_ns = [](std::string testo, const std::string& ns) {
    return testo.replace(testo.find(ns), ns.size(), "urn:altro");
  };
  for (const auto& [busta, faultstring] : std::vector<std::pair<std::string, std::string>>{
           {prova::BustaDem(annullo, ""), "ERR_00011 - Asserzione mancante"},
           {altro_ns(prova::BustaDem(annullo), "http://docs.oasis-open.org/wss/2004/01/"),
            "ERR_00011 - Asserzione mancante"},
           {prova::BustaDem(altro_ns(Rossa(), "http://invioprescrittorichiesta")),
            "Richiesta inattesa: InvioPrescrittoRichiesta"},
           {"<e:Envelope xmlns:e=\"http://www.w3.org/2003/05/soap-envelope\"><e:Body><x/></e:Body>"
            "</e:Envelope>",
            "Messaggio SOAP 1.1 non leggibile"},
           {"non XML", "Messaggio SOAP 1.1 non leggibile"},
           {prova::BustaDem(annullo), "Richiesta inattesa: AnnullaPrescrittoRichiesta"},
       }) {
    const prova::Esito e = Posta("InvioPrescritto", busta);
    EXPECT_EQ(e.stato, 500) << faultstring;
    EXPECT_EQ(Lettura(e.corpo)["faultstring"], faultstring);
  }
}

TEST_F(RicetteTest, WhiteSendAndCancelAndScriptedCancels) {
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
  const Lettura invio = bianca(paziente);
  const std::string nrbe = invio["nrbe"], pdf_base64 = invio["pdfPromemoria"];
  EXPECT_EQ(invio.Ns("nrbe"), "http://invioprescrittoricettabiancaricevuta");
  EXPECT_EQ(invio["codEsitoInserimento"] + " " + nrbe.substr(0, 4) + " " +
                std::to_string(nrbe.size()) + " " + std::to_string(invio["pinNrbe"].size()),
            "0000 190B 15 10");
  std::string pdf(pdf_base64.size(), '\0');
  EVP_DecodeBlock(reinterpret_cast<unsigned char*>(pdf.data()),
                  reinterpret_cast<const unsigned char*>(pdf_base64.data()),
                  static_cast<int>(pdf_base64.size()));
  EXPECT_TRUE(pdf.starts_with("%PDF-1.4") && pdf.find(nrbe + ") Tj") != std::string::npos) << pdf;
  const RicettaRegistrata ricetta = Registrata(nrbe);
  EXPECT_TRUE(ricetta.bianca);
  EXPECT_EQ(ricetta.cf_paziente + " " + std::to_string(ricetta.righe),
            kPaziente + std::string(" 1"));
  EXPECT_EQ(bianca("")["codEsito"], "1070");

  EXPECT_EQ(Annulla(nrbe)["codEsito"], "5002") << "un NRBE non è un NRE";
  EXPECT_EQ(annulla(nrbe, Cifra(pki.Fse(), "BNCLRA80A41H501K"))["codEsito"], "5004");
  EXPECT_EQ(annulla(nrbe, paziente)["codEsitoAnnullamento"], "0000");
  EXPECT_TRUE(Registrata(nrbe).annullata);
  const Lettura ancora = annulla(nrbe, paziente);
  EXPECT_EQ(ancora["codEsito"] + " " + ancora["esito"], "1120 Ricetta già annullata");
  EXPECT_EQ(annulla("190B99999999999", paziente)["codEsito"], "5002");

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
  prova::Chiamata chiamata{sandbox.Url("/iap"), "POST", "", {}, pki.ClientP12(), "kiro", pki.Ca()};
  chiamata.corpo =
      "<env:Envelope xmlns:env=\"http://www.w3.org/2003/05/soap-envelope\" "
      "xmlns:wsse=\"http://docs.oasis-open.org/wss/2004/01/"
      "oasis-200401-wss-wssecurity-secext-1.0.xsd\" "
      "xmlns:wsu=\"http://docs.oasis-open.org/wss/2004/01/"
      "oasis-200401-wss-wssecurity-utility-1.0.xsd\"><env:Header><wsse:Security>"
      "<wsse:UsernameToken><wsse:Username>demo</wsse:Username><wsse:Nonce>bjE=</wsse:Nonce>"
      "<wsu:Created>2026-03-05T10:20:30Z</wsu:Created><wsse:Password>" +
      Cifra(pki.Idp(), "bjE=2026-03-05T10:20:30ZKiro.2026") +
      "</wsse:Password></wsse:UsernameToken></wsse:Security></env:Header><env:Body/>"
      "</env:Envelope>";
  const std::string accesso = prova::Esegui(chiamata).corpo;
  const auto inizio = accesso.find("Assertion ID=\"") + 14;
  const std::string id = accesso.substr(inizio, accesso.find('"', inizio) - inizio);
  ASSERT_TRUE(idp.HaEmesso(id)) << accesso;

  chiamata.url = sandbox.Url("/dem/VisualizzaPrescritto");
  chiamata.intestazioni = prova::IntestazioniDem("VisualizzaPrescritto");
  const std::string vista = prova::Visualizzazione("190A99999999999", kMedico);
  chiamata.corpo = prova::BustaDem(vista, id);
  EXPECT_EQ(Lettura(prova::Esegui(chiamata).corpo)["codEsito"], "5002");
  chiamata.corpo = prova::BustaDem(vista, "_sbx999");
  const prova::Esito rifiuto = prova::Esegui(chiamata);
  EXPECT_EQ(rifiuto.stato, 500);
  EXPECT_EQ(Lettura(rifiuto.corpo)["faultstring"], "ERR_00011 - Asserzione non valida");
}

TEST_F(RicetteTest, EachServiceWantsTextXmlAndItsOwnSoapAction) {
  const std::string busta = prova::BustaDem(prova::Annullamento("190A99999999999", kMedico));
  const std::string azione(ServiziRicetta::Azione("AnnullaPrescritto"));
  const std::string vista(ServiziRicetta::Azione("VisualizzaPrescritto"));
  // The faultstring of the refusal; "" when the service answered.
  const std::vector<std::pair<Testi, std::string>> casi = {
      {{"Content-Type: text/xml; charset=utf-8", "SOAPAction: \"" + azione + "\""}, ""},
      {{"Content-Type: TEXT/XML", "SOAPAction: " + azione}, ""},
      {{"Content-Type: text/xml", "SOAPAction: \"" + vista + "\""},
       "SOAPAction non corrispondente al servizio: '\"" + vista + "\"' (attesa '" + azione + "')"},
      {{"Content-Type: text/xml"},
       "SOAPAction non corrispondente al servizio: '' (attesa '" + azione + "')"},
      {{"Content-Type: application/soap+xml; charset=utf-8; action=\"" + azione + "\""},
       "Content-Type non ammesso per SOAP 1.1: 'application/soap+xml; charset=utf-8; action=\"" +
           azione + "\"' (atteso text/xml)"},
  };
  for (const auto& [intestazioni, fault] : casi) {
    const prova::Esito e = Posta("AnnullaPrescritto", busta, intestazioni);
    EXPECT_EQ(e.stato, fault.empty() ? 200 : 500) << intestazioni.front();
    const Lettura l(e.corpo);
    EXPECT_EQ(fault.empty() ? l["codEsito"] : l["faultstring"], fault.empty() ? "5002" : fault);
    EXPECT_EQ(l["faultcode"], fault.empty() ? "<assente>" : "soap:Client");
    const Richiesta registrata = sandbox.Richieste().back();
    EXPECT_EQ(registrata.esito_validazione.starts_with("non valida: " + fault), !fault.empty())
        << registrata.esito_validazione;
    EXPECT_EQ(registrata.stato, e.stato);
  }
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
