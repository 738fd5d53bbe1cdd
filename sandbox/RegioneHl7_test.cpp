#include "sandbox/RegioneHl7.h"

#include <gtest/gtest.h>
#include <libxml/xpathInternals.h>
#include <openssl/evp.h>

#include <memory>
#include <vector>

#include "sandbox/prova/ClienteCurl.h"
#include "util/Libxml.h"

namespace qzkiro::sandbox {
namespace {

namespace r = regione;
namespace libxml = util::libxml;

// A parsed document read with XPath: "h:" is HL7 v2, "v3:" is CDA.
class Documento {
 public:
  explicit Documento(std::string_view testo)
      : doc_(libxml::LeggiMemoria(testo, nullptr, nullptr,
                                  XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING)) {}
  bool BenFormato() const { return doc_ != nullptr; }

  std::vector<std::string> Testi(const std::string& xpath) const {
    std::vector<std::string> testi;
    if (!doc_) return testi;
    const libxml::ContestoXPath ctx(xmlXPathNewContext(doc_.get()));
    xmlXPathRegisterNs(ctx.get(), BAD_CAST "h", BAD_CAST "urn:hl7-org:v2xml");
    xmlXPathRegisterNs(ctx.get(), BAD_CAST "v3", BAD_CAST "urn:hl7-org:v3");
    const libxml::EsitoXPath esito(xmlXPathEvalExpression(libxml::X(xpath), ctx.get()));
    const xmlNodeSet* nodi = esito ? esito->nodesetval : nullptr;
    for (int i = 0; nodi && i < nodi->nodeNr; ++i) {
      testi.push_back(libxml::Possiedi(xmlNodeGetContent(nodi->nodeTab[i])));
    }
    return testi;
  }
  std::size_t Conta(const std::string& xpath) const { return Testi(xpath).size(); }
  std::string Primo(const std::string& xpath) const {
    const auto testi = Testi(xpath);
    return testi.empty() ? "<nessuno>" : testi.front();
  }

 private:
  libxml::Documento doc_;
};

// The decoded Base64 body of a one-part MIME text.
std::string Corpo(std::string mime) {
  mime.erase(0, mime.find("\n\n"));
  std::erase_if(mime, [](char c) { return c == '\n' || c == '\r'; });
  std::string dati(mime.size(), '\0');
  const int n = EVP_DecodeBlock(reinterpret_cast<unsigned char*>(dati.data()),
                                reinterpret_cast<const unsigned char*>(mime.data()),
                                static_cast<int>(mime.size()));
  const std::size_t riempimento = mime.size() - 1 - mime.find_last_not_of('=');
  dati.resize(n < 0 ? 0 : static_cast<std::size_t>(n) - riempimento);
  return dati;
}

const std::string kGruppi = "/h:DOC_T12/h:DOC_T12.RESULT";

std::string Notifica(const std::string& id) {
  return kGruppi + "[h:PV1/h:PV1.50/h:CX.1='" + id + "']";
}

TEST(RegioneHl7Risposte, TheDefaultSainBatchHasEveryTypeAndBothRevocations) {
  const Documento sain(RegioneHl7::RispostaSain("REQ-1"));
  ASSERT_EQ(sain.Conta(kGruppi), r::kNotificheSain);
  EXPECT_EQ(sain.Primo("/h:DOC_T12/h:MSA/h:MSA.2") + sain.Primo("//h:MSA.6/h:CE.1"), "REQ-10");
  const auto tipi = sain.Testi(kGruppi + "/h:TXA/h:TXA.2");
  for (const char* tipo : {"ALL", "AGG", "SNM", "REV", "RV1", "RV2", "RV3", "RV4", "RV5", "AGS",
                           "CRI", "CNE", "CRE", "CRC", "CSC", "CAS", "REF", "SRF", "DIA", "DIM",
                           "RIC", "LED", "DRI", "DDI", "DLE", "LES", "LEA", "NPS", "NSP", "NMV"}) {
    EXPECT_NE(std::find(tipi.begin(), tipi.end(), tipo), tipi.end()) << tipo;
  }
  EXPECT_EQ(std::count(tipi.begin(), tipi.end(), "XYZ"), 1);

  EXPECT_EQ(sain.Primo(Notifica(r::kNotificaRev) + "/h:TXA/h:TXA.4/h:TS.1"), r::kDataNotificaRev);
  const Documento aperta(Corpo(sain.Primo(Notifica(r::kNotificaRev) + "/h:OBX/h:OBX.5/h:ED.5")));
  EXPECT_EQ(aperta.Primo("/h:ADT_A08/h:PID/h:PID.3[h:CX.5='CF']/h:CX.1"), r::kPazienteVerdi);
  EXPECT_EQ(aperta.Conta("/h:ADT_A08/h:GT1/h:GT1.13"), 1u);
  EXPECT_EQ(aperta.Conta("/h:ADT_A08/h:GT1/h:GT1.14"), 0u) << "the relationship has no end";
  const Documento chiusa(
      Corpo(sain.Primo(Notifica(r::kNotificaRevFine) + "/h:OBX/h:OBX.5/h:ED.5")));
  EXPECT_EQ(chiusa.Primo("/h:ADT_A08/h:GT1/h:GT1.14"), r::kFineRapportoGialli);
}

TEST(RegioneHl7Risposte, ALargeBatchHasTheGroupsAskedForEveryFifthWithADocument) {
  for (std::size_t n : {0u, 1u, 61u}) {
    const Documento batch(RegioneHl7::BatchSain(n, "REQ-2"));
    EXPECT_EQ(batch.Conta(kGruppi), n);
    EXPECT_EQ(batch.Conta(kGruppi + "/h:OBX/h:OBX.5/h:ED.5"), (n + 4) / 5) << n;
  }
}

TEST(RegioneHl7Risposte, TheOlderDischargeLetterCarriesAPdf) {
  const Documento sarir(RegioneHl7::RispostaRicoveri({"", r::kRicoveroLegacy}, "REQ-3"));
  ASSERT_EQ(sarir.Primo("//h:OBX/h:OBX.13"), "CDA");
  const Documento lettera(Corpo(sarir.Primo("//h:OBX/h:OBX.5")));
  EXPECT_EQ(lettera.Primo("/v3:ClinicalDocument/v3:code/@code"), "DIM");
  EXPECT_TRUE(Corpo(lettera.Primo("//v3:ExternalDocument/v3:text")).starts_with("%PDF-1.4\n"));
}

class RegioneHl7Test : public ::testing::Test {
 protected:
  Pki pki = Pki::DellaCompilazione();
  Sandbox sandbox{pki};
  GatewayHl7 gateway{sandbox};
  RegioneHl7 regione{gateway};

  Documento Invia(const std::string& servizio, const std::string& cf = "",
                  const std::string& id = "") {
    std::string corpo =
        "<QRY_A19 xmlns=\"urn:hl7-org:v2xml\"><MSH><MSH.9><MSG.1>QRY</MSG.1></MSH.9>"
        "<MSH.10>Q-7</MSH.10></MSH><QRD><QRD.10><CE.1>" +
        id + "</CE.1></QRD.10></QRD>";
    if (!cf.empty()) corpo += "<QRF><QRF.5>" + cf + "</QRF.5></QRF><QRF><QRF.5>X</QRF.5></QRF>";
    const auto esito = prova::Esegui({sandbox.Url("/hl7/" + servizio),
                                      "POST",
                                      corpo + "</QRY_A19>",
                                      {"Content-Type: text/xml"},
                                      pki.ClientP12(),
                                      "kiro",
                                      pki.Ca()});
    EXPECT_EQ(esito.stato, 200) << esito.errore;
    return Documento(esito.corpo);
  }
};

TEST_F(RegioneHl7Test, AnswersFilterByPatientAndDocument) {
  struct Caso {
    const char *servizio, *cf, *id, *gruppo;
    std::size_t gruppi;
  };
  const char* kAdr = "/h:ADR_A19/h:ADR_A19.QUERY_RESPONSE";
  const char* kDoc = kGruppi.c_str();
  const Caso casi[] = {
      {"SAIA", "", "", kAdr, r::kPazienti},
      {"SAIA", "20000101", "", kAdr, r::kPazienti},
      {"SAIA", r::kPazienteRossi, "", kAdr, 1},
      {"SAIA", "ZZZZZZ00A00Z000Z", "", kAdr, 0},
      {"SARR", "", "", kDoc, 3},
      {"SARR", r::kPazienteBianchi, "", kDoc, 2},
      {"SARR", r::kPazienteRossi, r::kRefertoLegacy, kDoc, 0},
      {"SARRePS", "", "", kDoc, 2},
      {"SARIR", "", "", kAdr, 3},
      {"SARIR", "", r::kRicoveroDh, kAdr, 1},
  };
  for (const Caso& c : casi) {
    const Documento d = Invia(c.servizio, c.cf, c.id);
    EXPECT_EQ(d.Conta(c.gruppo), c.gruppi) << c.servizio << " " << c.cf << " " << c.id;
    EXPECT_EQ(d.Primo("//h:MSA/h:MSA.2"), "Q-7");
    EXPECT_TRUE(d.Primo("//h:MSH/h:MSH.10").starts_with("SBXR"));
    if (c.gruppi == 1 && *c.cf != '\0') {
      EXPECT_EQ(d.Primo("//h:PID.3[h:CX.5='CF']/h:CX.1"), c.cf);
    }
  }
  EXPECT_EQ(Invia("SARIR", "", r::kRicoveroDh).Primo("//h:PV1/h:PV1.2"), "D");
}

TEST_F(RegioneHl7Test, ReportScriptsSpoilTheCdaOrTheSurname) {
  const std::string ed5 = kGruppi + "/h:OBX/h:OBX.5/h:ED.5";
  const Documento cda(Corpo(Invia("SARR", "", r::kRefertoCda2).Primo(ed5)));
  EXPECT_EQ(cda.Primo("/v3:ClinicalDocument/v3:id/@extension"), r::kRefertoCda2);
  EXPECT_EQ(cda.Conta("//v3:observation/v3:value"), 3u);

  regione.RefertoIllegibile(r::kRefertoCda2);
  regione.RefertoSenzaCognome(r::kRefertoLegacy);
  const Documento sarr = Invia("SARR");
  const std::string rotto = Corpo(Invia("SARR", "", r::kRefertoCda2).Primo(ed5));
  EXPECT_TRUE(rotto.starts_with("<?xml"));
  EXPECT_FALSE(Documento(rotto).BenFormato());
  EXPECT_EQ(sarr.Conta(kGruppi + "/h:PID/h:PID.5"), 2u) << "one report of three has no surname";
  EXPECT_EQ(
      sarr.Conta(kGruppi + "[h:TXA/h:TXA.12/h:EI.1='" + r::kRefertoLegacy + "']/h:PID/h:PID.5"),
      0u);

  regione.Ripristina();
  EXPECT_TRUE(Documento(Corpo(Invia("SARR", "", r::kRefertoCda2).Primo(ed5))).BenFormato());
}

TEST_F(RegioneHl7Test, SainScriptsLastUntilResetAndSurviveRegistration) {
  regione.SainVuoto(true);
  const Documento vuoto = Invia("SAIN");
  EXPECT_EQ(vuoto.Conta(kGruppi), 0u);
  EXPECT_EQ(vuoto.Primo("/h:DOC_T12/h:QAK/h:QAK.2"), "NF");
  regione.SainVuoto(false);
  regione.SainGrande(7);
  EXPECT_EQ(Invia("SAIN").Conta(kGruppi), 7u);

  gateway.Ripristina();
  EXPECT_EQ(Invia("SAIN").Conta("/h:ACK/h:MSA"), 1u) << "the gateway's plain ACK";
  regione.Registra();
  EXPECT_EQ(Invia("SAIN").Conta(kGruppi), 7u);
  regione.Ripristina();
  EXPECT_EQ(Invia("SAIN").Conta(kGruppi), r::kNotificheSain);
}

}  // namespace
}  // namespace qzkiro::sandbox
