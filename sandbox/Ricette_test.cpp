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

#include "sandbox/prova/ClienteCurl.h"
#include "util/Libxml.h"

namespace qzkiro::sandbox {
namespace {

using Campi = std::map<std::string, std::string>;
using Testi = std::vector<std::string>;

constexpr const char* kMedico = "MDCPRV70A01H501X";
constexpr const char* kPaziente = "RSSMRA80A01H501U";
constexpr const char* kTipiDati = "http://tipodati.xsd.dem.sanita.finanze.it";
constexpr const char* kNsRicevute = ".xsd.dem.sanita.finanze.it";

// Encrypts as the add-on does: RSA PKCS#1 v1.5 with the key of a DER or PEM
// certificate, in Base64.
std::string Cifra(const std::filesystem::path& certificato, const std::string& chiaro) {
  std::ifstream in(certificato, std::ios::binary);
  const std::string byte(std::istreambuf_iterator<char>(in), {});
  const auto* p = reinterpret_cast<const unsigned char*>(byte.data());
  X509* cert = d2i_X509(nullptr, &p, static_cast<long>(byte.size()));
  BIO* bio = BIO_new_mem_buf(byte.data(), static_cast<int>(byte.size()));
  if (!cert) cert = PEM_read_bio_X509(bio, nullptr, nullptr, nullptr);
  BIO_free(bio);
  EVP_PKEY_CTX* ctx = cert ? EVP_PKEY_CTX_new(X509_get0_pubkey(cert), nullptr) : nullptr;
  unsigned char cifrato[512], base64[1024] = {};
  size_t n = sizeof cifrato;
  if (ctx && EVP_PKEY_encrypt_init(ctx) > 0 &&
      EVP_PKEY_CTX_set_rsa_padding(ctx, RSA_PKCS1_PADDING) > 0 &&
      EVP_PKEY_encrypt(ctx, cifrato, &n, reinterpret_cast<const unsigned char*>(chiaro.data()),
                       chiaro.size()) > 0) {
    EVP_EncodeBlock(base64, cifrato, static_cast<int>(n));
  }
  EVP_PKEY_CTX_free(ctx);
  X509_free(cert);
  return reinterpret_cast<const char*>(base64);
}

std::string Busta(const std::string& corpo, const std::string& asserzione = "_a1") {
  const std::string sicurezza =
      "<soapenv:Header><wsse:Security xmlns:wsse=\"urn:wsse\"><saml:Assertion xmlns:saml=\"urn:"
      "oasis:names:tc:SAML:2.0:assertion\" ID=\"" +
      asserzione + "\"/></wsse:Security></soapenv:Header>";
  return "<soapenv:Envelope xmlns:soapenv=\"http://schemas.xmlsoap.org/soap/envelope/\">" +
         (asserzione.empty() ? "" : sicurezza) + "<soapenv:Body>" + corpo +
         "</soapenv:Body></soapenv:Envelope>";
}

// A request element in its namespace (the lower-case root name).
std::string Modulo(const std::string& radice, const Campi& campi, const std::string& righe = {}) {
  std::string ns = radice;
  for (char& c : ns) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  std::string xml = "<r:" + radice + " xmlns:r=\"http://" + ns + kNsRicevute + "\">";
  for (const auto& [nome, valore] : campi) xml += "<r:" + nome + ">" + valore + "</r:" + nome + ">";
  return xml + righe + "</r:" + radice + ">";
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

  prova::Esito Posta(const std::string& servizio, const std::string& busta) {
    return prova::Esegui(
        {sandbox.Url("/dem/" + servizio), "POST", busta, {}, pki.ClientP12(), "kiro", pki.Ca()});
  }
  Lettura Chiedi(const std::string& servizio, const std::string& corpo) {
    const prova::Esito e = Posta(servizio, Busta(corpo));
    EXPECT_EQ(e.stato, 200) << servizio << ": " << e.errore << e.corpo;
    EXPECT_TRUE(e.Intestazione("Content-Type").starts_with("text/xml")) << e.intestazioni;
    return Lettura(e.corpo);
  }
  Lettura Invia(const Campi& cambi = {}, int righe = 2, std::string servizio = "InvioPrescritto") {
    Campi campi = {{"cfMedico1", kMedico},       {"codRegione", "190"},
                   {"codiceAss", paziente},      {"cognNome", "ROSSI MARIO"},
                   {"codSpecializzazione", "P"}, {"dataCompilazione", "2026-03-05 10:20:30"}};
    for (const auto& [nome, valore] : cambi) campi[nome] = valore;
    std::string xml;
    for (int i = 0; i < righe; ++i) {
      xml += "<td:DettaglioPrescrizione xmlns:td=\"" + std::string(kTipiDati) +
             "\"><td:codProdPrest>P" + std::to_string(i) + "</td:codProdPrest>" +
             "<td:quantita>1</td:quantita></td:DettaglioPrescrizione>";
    }
    xml = "<r:ElencoDettagliPrescrizioni>" + xml + "</r:ElencoDettagliPrescrizioni>";
    return Chiedi(servizio, Modulo("InvioPrescrittoRichiesta", campi, xml));
  }
  Lettura Annulla(const std::string& nre, const std::string& medico = kMedico) {
    return Chiedi("AnnullaPrescritto",
                  Modulo("AnnullaPrescrittoRichiesta", {{"nre", nre}, {"cfMedico", medico}}));
  }
  Lettura Vista(const std::string& nre, const std::string& medico = kMedico) {
    return Chiedi("VisualizzaPrescritto",
                  Modulo("VisualizzaPrescrittoRichiesta", {{"nre", nre}, {"cfMedico", medico}}));
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
      {{{"cfMedico1", "MDC"}, {"codRegione", "19A"}, {"dataCompilazione", "05/03/26"}},
       1,
       {"1010", "1020", "1050"}},
      {{{"cognNome", ""}}, 0, {"1030", "1040"}},
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
  const prova::Esito fault =
      Posta("InvioPrescritto", Busta(Modulo("InvioPrescrittoRichiesta", {})));
  EXPECT_EQ(fault.stato, 500);
  EXPECT_EQ(Lettura(fault.corpo)["faultstring"],
            "ERR_00055 Data e ora della richiesta non allineate");
  EXPECT_EQ(Invia()["codEsito"], "<assente>") << "copione esaurito";
  EXPECT_EQ(servizi.Ricette().size(), 4u);
}

TEST_F(RicetteTest, OnlySoap11RequestsWithAnAssertionReachTheServices) {
  const std::string annullo = Modulo("AnnullaPrescrittoRichiesta", {});
  for (const auto& [busta, faultstring] : std::vector<std::pair<std::string, std::string>>{
           {Busta(annullo, ""), "ERR_00011 - Asserzione mancante"},
           {"<e:Envelope xmlns:e=\"http://www.w3.org/2003/05/soap-envelope\"><e:Body><x/></e:Body>"
            "</e:Envelope>",
            "Messaggio SOAP 1.1 non leggibile"},
           {"non XML", "Messaggio SOAP 1.1 non leggibile"},
           {Busta(annullo), "Richiesta inattesa: AnnullaPrescrittoRichiesta"},
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
      "<Envelope><Header><Security><UsernameToken><Username>demo</Username><Nonce>n1</Nonce>"
      "<Created>2026-03-05T10:20:30Z</Created><Password>" +
      Cifra(pki.Idp(), "n12026-03-05T10:20:30ZKiro.2026") +
      "</Password></UsernameToken></Security></Header><Body/></Envelope>";
  const std::string accesso = prova::Esegui(chiamata).corpo;
  const auto inizio = accesso.find("Assertion ID=\"") + 14;
  const std::string id = accesso.substr(inizio, accesso.find('"', inizio) - inizio);
  ASSERT_TRUE(idp.HaEmesso(id)) << accesso;

  chiamata.url = sandbox.Url("/dem/VisualizzaPrescritto");
  const std::string vista = Modulo("VisualizzaPrescrittoRichiesta", {{"nre", "x"}});
  chiamata.corpo = Busta(vista, id);
  EXPECT_EQ(Lettura(prova::Esegui(chiamata).corpo)["codEsito"], "5002");
  chiamata.corpo = Busta(vista, "_sbx999");
  const prova::Esito rifiuto = prova::Esegui(chiamata);
  EXPECT_EQ(rifiuto.stato, 500);
  EXPECT_EQ(Lettura(rifiuto.corpo)["faultstring"], "ERR_00011 - Asserzione non valida");
}

}  // namespace
}  // namespace qzkiro::sandbox
