#include "sandbox/RegioneHl7.h"

#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <algorithm>
#include <string>
#include <vector>

#include "sandbox/prova/Strumenti.h"
#include "util/Libxml.h"

namespace qzkiro::sandbox {
namespace {

namespace r = regione;
using prova::Primo;
using prova::Xpath;

std::size_t Conta(const std::string& xml, const std::string& xpath) {
  return Xpath(xml, xpath).size();
}

bool BenFormato(const std::string& xml) {
  return util::libxml::LeggiMemoria(xml, nullptr, nullptr,
                                    XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING) !=
         nullptr;
}

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
  const std::string sain = RegioneHl7::RispostaSain("REQ-1");
  ASSERT_EQ(Conta(sain, kGruppi), r::kNotificheSain);
  EXPECT_EQ(Primo(sain, "/h:DOC_T12/h:MSA/h:MSA.2") + Primo(sain, "//h:MSA.6/h:CE.1"), "REQ-10");
  const auto tipi = Xpath(sain, kGruppi + "/h:TXA/h:TXA.2");
  for (const char* tipo : {"ALL", "AGG", "SNM", "REV", "RV1", "RV2", "RV3", "RV4", "RV5", "AGS",
                           "CRI", "CNE", "CRE", "CRC", "CSC", "CAS", "REF", "SRF", "DIA", "DIM",
                           "RIC", "LED", "DRI", "DDI", "DLE", "LES", "LEA", "NPS", "NSP", "NMV"}) {
    EXPECT_NE(std::find(tipi.begin(), tipi.end(), tipo), tipi.end()) << tipo;
  }
  EXPECT_EQ(std::count(tipi.begin(), tipi.end(), "XYZ"), 1);

  EXPECT_EQ(Primo(sain, Notifica(r::kNotificaRev) + "/h:TXA/h:TXA.4/h:TS.1"), r::kDataNotificaRev);
  const std::string aperta =
      Corpo(Primo(sain, Notifica(r::kNotificaRev) + "/h:OBX/h:OBX.5/h:ED.5"));
  EXPECT_EQ(Primo(aperta, "/h:ADT_A08/h:PID/h:PID.3[h:CX.5='CF']/h:CX.1"), r::kPazienteVerdi);
  EXPECT_EQ(Conta(aperta, "/h:ADT_A08/h:GT1/h:GT1.13"), 1u);
  EXPECT_EQ(Conta(aperta, "/h:ADT_A08/h:GT1/h:GT1.14"), 0u) << "the relationship has no end";
  const std::string chiusa =
      Corpo(Primo(sain, Notifica(r::kNotificaRevFine) + "/h:OBX/h:OBX.5/h:ED.5"));
  EXPECT_EQ(Primo(chiusa, "/h:ADT_A08/h:GT1/h:GT1.14"), r::kFineRapportoGialli);
}

TEST(RegioneHl7Risposte, ALargeBatchHasTheGroupsAskedForEveryFifthWithADocument) {
  for (std::size_t n : {0u, 1u, 61u}) {
    const std::string batch = RegioneHl7::BatchSain(n, "REQ-2");
    EXPECT_EQ(Conta(batch, kGruppi), n);
    EXPECT_EQ(Conta(batch, kGruppi + "/h:OBX/h:OBX.5/h:ED.5"), (n + 4) / 5) << n;
  }
}

TEST(RegioneHl7Risposte, TheOlderDischargeLetterCarriesAPdf) {
  const std::string sarir = RegioneHl7::RispostaRicoveri({"", r::kRicoveroLegacy}, "REQ-3");
  ASSERT_EQ(Primo(sarir, "//h:OBX/h:OBX.13"), "CDA");
  const std::string lettera = Corpo(Primo(sarir, "//h:OBX/h:OBX.5"));
  EXPECT_EQ(Primo(lettera, "/v3:ClinicalDocument/v3:code/@code"), "DIM");
  EXPECT_TRUE(Corpo(Primo(lettera, "//v3:ExternalDocument/v3:text")).starts_with("%PDF-1.4\n"));
}

class RegioneHl7Test : public ::testing::Test {
 protected:
  Pki pki = Pki::DellaCompilazione();
  Sandbox sandbox{pki};
  GatewayHl7 gateway{sandbox};
  RegioneHl7 regione{gateway};

  std::string Invia(const std::string& servizio, const std::string& cf = "",
                    const std::string& id = "") {
    std::string corpo =
        "<QRY_A19 xmlns=\"urn:hl7-org:v2xml\"><MSH><MSH.9><MSG.1>QRY</MSG.1></MSH.9>"
        "<MSH.10>Q-7</MSH.10></MSH><QRD><QRD.10><CE.1>" +
        id + "</CE.1></QRD.10></QRD>";
    if (!cf.empty()) corpo += "<QRF><QRF.5>" + cf + "</QRF.5></QRF><QRF><QRF.5>X</QRF.5></QRF>";
    const auto esito = prova::Esegui(prova::Tls(sandbox, pki, "/hl7/" + servizio, "POST",
                                                corpo + "</QRY_A19>", {"Content-Type: text/xml"}));
    EXPECT_EQ(esito.stato, 200) << esito.errore;
    return esito.corpo;
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
    SCOPED_TRACE(std::string(c.servizio) + " " + c.cf + " " + c.id);
    const std::string d = Invia(c.servizio, c.cf, c.id);
    EXPECT_EQ(Conta(d, c.gruppo), c.gruppi);
    EXPECT_EQ(Primo(d, "//h:MSA/h:MSA.2"), "Q-7");
    EXPECT_TRUE(Primo(d, "//h:MSH/h:MSH.10").starts_with("SBXR"));
    if (c.gruppi == 1 && *c.cf != '\0') {
      EXPECT_EQ(Primo(d, "//h:PID.3[h:CX.5='CF']/h:CX.1"), c.cf);
    }
  }
  EXPECT_EQ(Primo(Invia("SARIR", "", r::kRicoveroDh), "//h:PV1/h:PV1.2"), "D");
}

TEST_F(RegioneHl7Test, ReportScriptsSpoilTheCdaOrTheSurname) {
  const std::string ed5 = kGruppi + "/h:OBX/h:OBX.5/h:ED.5";
  const std::string cda = Corpo(Primo(Invia("SARR", "", r::kRefertoCda2), ed5));
  EXPECT_EQ(Primo(cda, "/v3:ClinicalDocument/v3:id/@extension"), r::kRefertoCda2);
  EXPECT_EQ(Conta(cda, "//v3:observation/v3:value"), 3u);

  regione.RefertoIllegibile(r::kRefertoCda2);
  regione.RefertoSenzaCognome(r::kRefertoLegacy);
  const std::string sarr = Invia("SARR");
  const std::string rotto = Corpo(Primo(Invia("SARR", "", r::kRefertoCda2), ed5));
  EXPECT_TRUE(rotto.starts_with("<?xml"));
  EXPECT_FALSE(BenFormato(rotto));
  EXPECT_EQ(Conta(sarr, kGruppi + "/h:PID/h:PID.5"), 2u) << "one report of three has no surname";
  EXPECT_EQ(
      Conta(sarr, kGruppi + "[h:TXA/h:TXA.12/h:EI.1='" + r::kRefertoLegacy + "']/h:PID/h:PID.5"),
      0u);

  regione.Ripristina();
  EXPECT_TRUE(BenFormato(Corpo(Primo(Invia("SARR", "", r::kRefertoCda2), ed5))));
}

TEST_F(RegioneHl7Test, SainScriptsLastUntilResetAndSurviveRegistration) {
  regione.SainVuoto(true);
  const std::string vuoto = Invia("SAIN");
  EXPECT_EQ(Conta(vuoto, kGruppi), 0u);
  EXPECT_EQ(Primo(vuoto, "/h:DOC_T12/h:QAK/h:QAK.2"), "NF");
  regione.SainVuoto(false);
  regione.SainGrande(7);
  EXPECT_EQ(Conta(Invia("SAIN"), kGruppi), 7u);

  gateway.Ripristina();
  EXPECT_EQ(Conta(Invia("SAIN"), "/h:ACK/h:MSA"), 1u) << "the gateway's plain ACK";
  regione.Registra();
  EXPECT_EQ(Conta(Invia("SAIN"), kGruppi), 7u);
  regione.Ripristina();
  EXPECT_EQ(Conta(Invia("SAIN"), kGruppi), r::kNotificheSain);
}

}  // namespace
}  // namespace qzkiro::sandbox
