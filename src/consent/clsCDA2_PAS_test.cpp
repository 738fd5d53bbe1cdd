#include "consent/clsCDA2_PAS.h"

#include <gtest/gtest.h>

#include "sandbox/FseSchemi.h"
#include "support/DatiPubblici.h"

namespace qzkiro::consent {
namespace {

using util::clsXML;

clsCDA2_PAS Sommario() {
  clsCDA2_PAS c(util::DataOra{2026, 3, 5, 9, 7, 3}, "20260305090703+0100");
  c.Endpoint = "https://fse.example.it/repository";
  c.GetSmartGUID = [n = 0]() mutable { return "GUID-" + std::to_string(++n); };
  c.UtenteMedico = {"MDCGPP60A01L736X", "MEDICI", "GIUSEPPE",          "123456", "501",
                    "Serenissima",      "050",    "medico@example.it", "041000"};
  c.Paziente.CodiceFiscale = "RSSMRA45M41L736K";
  c.Paziente.Cognome = "ROSSI";
  c.Paziente.Nome = "MARIA";
  c.Paziente.DataNascita = util::DataOra{1945, 8, 1};
  c.Paziente.MPI = "MPI0000001";
  c.CDA2 = std::make_shared<clsXML>();
  EXPECT_TRUE(c.CDA2->LoadXML("<ClinicalDocument xmlns=\"urn:hl7-org:v3\"><title>Profilo"
                              "</title></ClinicalDocument>"));
  return c;
}

TEST(clsCDA2PASTest, OneSummaryEntryWithItsOwnCodesAndTheReplacementWhenThereIsOne) {
  clsCDA2_PAS c = Sommario();
  clsXML x;
  ASSERT_TRUE(x.LoadXML(c.BustaSoap().XMLNoProcessing()));
  const auto nodo = [&](const std::string& id) {
    return x.GetAttributeNode(nullptr, "//Classification[@id='" + id + "']", "nodeRepresentation");
  };
  EXPECT_EQ(x.SelectNodeList(nullptr, "//ExtrinsicObject").size(), 1u);
  EXPECT_EQ(x.GetAttributeNode(nullptr, "//ExtrinsicObject/Name/LocalizedString", "value"),
            "Profilo Sanitario Sintetico");
  EXPECT_EQ(nodo("Document00_cl02"), "rv_cc_2003");
  EXPECT_EQ(nodo("Document00_cl03"), "M");
  EXPECT_EQ(nodo("Document00_cl04"), "urn:oid:2.16.840.1.113883.2.9.10.2.4.1.1.1");
  EXPECT_EQ(nodo("Document00_cl07"), "60591-5");
  EXPECT_EQ(x.GetTextNode(nullptr, "//Classification[@id='Document00_cl07']/Slot/ValueList/Value"),
            "2.16.840.1.113883.6.1");
  EXPECT_FALSE(x.ExistNode(nullptr, "//Classification[@id='Document00_cl08']")) << "no events";
  EXPECT_FALSE(x.ExistNode(nullptr, "//Classification[@id='Document00_cl01']/Slot[@name="
                                    "'authorTelecommunication']"));
  EXPECT_TRUE(x.ExistNode(nullptr, "//ExtrinsicObject/Slot[@name='serviceStopTime']"));
  EXPECT_EQ(x.GetAttributeNode(nullptr,
                               "//ExternalIdentifier[Name/LocalizedString/@value="
                               "'XDSDocumentEntry.uniqueId']",
                               "value"),
            "2.16.840.1.113883.2.9.2.50.2.123456.4.4.2^20260305090703");
  EXPECT_EQ(x.SelectNodeList(nullptr, "//Association").size(), 1u) << "a first publication";
  EXPECT_EQ(x.GetAttributeNode(nullptr, "//Association", "id"), "as00");
  EXPECT_EQ(x.GetAttributeNode(nullptr, "//Document/Include", "href"),
            "cid:docPatientSummary.xml");

  c.IDPaS = "2.16.840.1.113883.2.9.2.50.2.123456.4.4.2^PREC";
  ASSERT_TRUE(x.LoadXML(c.BustaSoap().XMLNoProcessing()));
  EXPECT_EQ(x.GetAttributeNode(nullptr, "//Association[@id='Assoc1']", "associationType"),
            "urn:ihe:iti:2007:AssociationType:RPLC");
  EXPECT_EQ(x.GetAttributeNode(nullptr, "//Association[@id='Assoc1']", "targetObject"), c.IDPaS);

  // Always two parts: the envelope and the summary.
  clsItemAsserzione item;
  item.Asserzione = "<saml:Assertion/>";
  const std::string corpo = c.HttpRequest(item).Body;
  EXPECT_NE(corpo.find("Content-ID: <docPatientSummary.xml>"), std::string::npos);
  EXPECT_NE(corpo.find("<title>Profilo</title>"), std::string::npos);
  EXPECT_EQ(corpo.find("[Asserzione]"), std::string::npos);
}

TEST(clsCDA2PASCampioni, TheSummaryRequestIsValidXdsb) {
  QZKIRO_RICHIEDE_CAMPIONI();
  std::string errore;
  const auto schema = sandbox::FseSchemi::Carica(testsupport::CartellaDatiPubblici(), errore);
  ASSERT_TRUE(schema) << errore;
  clsCDA2_PAS c = Sommario();
  c.IDPaS = "PREC";
  std::string busta = c.BustaSoap().XMLNoProcessing();
  const auto include = busta.find("<xop:Include");
  busta.replace(include, busta.find("/>", include) + 2 - include, "PGRvY3VtZW50by8+");
  const auto inizio = busta.find("<ns5:ProvideAndRegisterDocumentSetRequest");
  EXPECT_EQ(sandbox::PrimoErrore(*schema, busta.substr(inizio, busta.find("</S:Body>") - inizio)), "");
}

}  // namespace
}  // namespace qzkiro::consent
