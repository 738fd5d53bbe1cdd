#include "consent/clsCDA2_Consenso.h"

#include <gtest/gtest.h>

#include "sandbox/server/CartellaTemporanea.h"

namespace qzkiro::consent {
namespace {

using util::clsXML;

clsCDA2_Consenso Consenso() {
  clsCDA2_Consenso c(util::DataOra{2026, 3, 5, 9, 7, 3}, "20260305090703+0100");
  c.Endpoint = "https://fse.example.it/repository";
  c.GetSmartGUID = [n = 0]() mutable { return "GUID-" + std::to_string(++n); };
  c.Medico = {"MDCGPP60A01L736X", "MEDICI", "GIUSEPPE",          "123456", "501",
              "Serenissima",      "050",    "medico@example.it", ""};
  c.Paziente.CodiceFiscale = "RSSMRA10C45L736K";
  c.Paziente.Cognome = "ROSSI";
  c.Paziente.Nome = "MARIA";
  c.Paziente.DataNascita = util::DataOra{2010, 3, 5};
  c.Paziente.Eta = 40;
  c.Paziente.MPI = "MPI0000001";
  return c;
}

clsXML Busta(const clsCDA2_Consenso& c) {
  clsXML x;
  EXPECT_TRUE(x.LoadXML(c.BustaSoap().XMLNoProcessing()));
  return x;
}

// name id source>target of each registry object, and id/href of each attachment.
std::vector<std::string> Struttura(const clsCDA2_Consenso& c) {
  clsXML x = Busta(c);
  std::vector<std::string> out;
  for (auto* n : x.SelectNodeList(nullptr,
                                  "//RegistryObjectList/*[local-name()!='RegistryPackage' and "
                                  "local-name()!='Classification']")) {
    out.push_back(std::string(clsXML::Nome(n)) + " " + clsXML::Attributo(n, "id") + " " +
                  clsXML::Attributo(n, "associationType") + " " +
                  clsXML::Attributo(n, "sourceObject") + ">" +
                  clsXML::Attributo(n, "targetObject"));
  }
  for (auto* d : x.SelectNodeList(nullptr, "//ProvideAndRegisterDocumentSetRequest/Document")) {
    out.push_back(clsXML::Attributo(d, "id") + " " + x.GetAttributeNode(d, "Include", "href"));
  }
  return out;
}

std::string Valore(clsXML& x, const std::string& percorso, const std::string& attributo) {
  return x.GetAttributeNode(nullptr, percorso, attributo);
}

TEST(clsCDA2ConsensoTest, OnlyConsultationGivesOneEntryOneAttachmentAndTwoParts) {
  clsCDA2_Consenso c = Consenso();
  c.Consultazione = true;
  EXPECT_EQ(Struttura(c),
            (std::vector<std::string>{
                "ExtrinsicObject Document01  >",
                "Association as01 urn:oasis:names:tc:ebxml-regrep:AssociationType:HasMember "
                "SubmissionSet01>Document01",
                "Document01 cid:docConsensoConsultazione.xml"}));
  clsItemAsserzione item;
  item.Asserzione = "<saml:Assertion ID=\"a1\"/>";
  const net::RichiestaPreparata r = c.HttpRequest(item);
  EXPECT_EQ(r.Method, "POST");
  std::size_t parti = 0;
  for (std::size_t i = 0; (i = r.Body.find("\r\nContent-ID: ", i)) != std::string::npos; ++i)
    ++parti;
  EXPECT_EQ(parti, 2u);
  EXPECT_NE(r.Body.find("<wsse:Security xmlns:wsse=\"http://docs.oasis-open.org/wss/2004/01/"
                        "oasis-200401-wss-wssecurity-secext-1.0.xsd\"><saml:Assertion ID=\"a1\"/>"),
            std::string::npos);
  EXPECT_NE(r.Body.find("\r\n\r\n" + c.CDA2_Consultazione().XMLNoProcessing() + "\r\n--"),
            std::string::npos);
}

TEST(clsCDA2ConsensoTest, AWithdrawnFeedingConsentReplacingAnotherIsARevocation) {
  clsCDA2_Consenso c = Consenso();
  c.Alimentazione = false;
  c.Pregresso = true;
  c.IDAlimentazione = "urn:uuid:vecchio";
  EXPECT_EQ(
      Struttura(c),
      (std::vector<std::string>{
          "ExtrinsicObject Document00  >", "ExtrinsicObject Document02  >",
          "Association as00 urn:oasis:names:tc:ebxml-regrep:AssociationType:HasMember "
          "SubmissionSet01>Document00",
          "Association Assoc1 urn:ihe:iti:2007:AssociationType:RPLC Document00>urn:uuid:vecchio",
          "Association as02 urn:oasis:names:tc:ebxml-regrep:AssociationType:HasMember "
          "SubmissionSet01>Document02",
          "Document00 cid:docConsensoAlimentazione.xml",
          "Document02 cid:docConsensoPregresso.xml"}));
  clsXML x = Busta(c);
  const std::string voce = "//ExtrinsicObject[@id='Document00']/Classification";
  EXPECT_EQ(Valore(x, voce + "[@id='Document00_cl08']", "nodeRepresentation"),
            "urn:oid:2.16.840.1.113883.2.9.2.50.4.13.100");
  EXPECT_EQ(Valore(x, voce + "[@id='Document00_cl08']/Name/LocalizedString", "value"),
            "Consenso Revocato");
  EXPECT_EQ(Valore(x, voce + "[@id='Document00_cl07']", "nodeRepresentation"), "Consenso FSEr");
  // The document says the same, and the entry's unique id is the document's.
  clsXML doc;
  ASSERT_TRUE(doc.LoadXML(c.CDA2_Alimentazione().XMLNoProcessing()));
  EXPECT_EQ(Valore(doc, "ClinicalDocument/documentationOf/serviceEvent/code", "displayName"),
            "Consenso Revocato");
  EXPECT_EQ(x.GetAttributeNode(nullptr, "//ExtrinsicObject[@id='Document00']/ExternalIdentifier[2]",
                               "value"),
            "2.16.840.1.113883.2.9.2.50.2.123456.4.4.7^" +
                Valore(doc, "ClinicalDocument/id", "extension"));
  // A kind left out of the submission is written as a given consent.
  ASSERT_TRUE(doc.LoadXML(c.CDA2_Consultazione().XMLNoProcessing()));
  EXPECT_NE(Valore(doc, "ClinicalDocument/documentationOf/serviceEvent/code", "displayName"),
            "Consenso Revocato");
}

TEST(clsCDA2ConsensoTest, TheGuardiansEventCodeFollowsThePatientsAge) {
  struct Caso {
    int eta;
    const char* codice;
    const char* nome;
  } casi[] = {{17, "14", "delega minore"}, {18, "14", "delega minore"}, {40, "20", "care giver"}};
  for (const Caso& caso : casi) {
    clsCDA2_Consenso c = Consenso();
    c.Tutori.push_back({"RSSLGU80A01L736Z", "ROSSI", "LUIGI", "", "3331234567", ""});
    c.Paziente.Eta = caso.eta;
    c.Consultazione = true;
    clsXML x = Busta(c);
    const std::string cl09 = "//Classification[@id='Document01_cl09']";
    EXPECT_EQ(Valore(x, cl09, "nodeRepresentation"),
              std::string("urn:oid:2.16.840.1.113883.2.9.2.50.4.13.") + caso.codice)
        << caso.eta;
    EXPECT_EQ(Valore(x, cl09 + "/Name/LocalizedString", "value"),
              std::string("Consenso di tipo advanced: ") + caso.nome)
        << caso.eta;
  }
}

TEST(clsCDA2ConsensoTest, TheBirthStateOfAPatientBornAbroadComesFromTheLocalTable) {
  sandbox::CartellaTemporanea cartella;
  clsCDA2_Consenso c = Consenso();
  c.Consultazione = true;
  c.Paziente.CodiceFiscale = "BRWJHN75A02Z404Q";
  c.Tabelle.cartella = cartella.Path();  // the add-on's own row search reads it
  auto luogo_nascita = [&] {
    clsXML x = Busta(c);
    const auto valori =
        x.SelectNodeList(nullptr, "//Slot[@name='sourcePatientInfo']/ValueList/Value");
    return valori.size() > 5 ? clsXML::Testo(valori[5]) : std::string();
  };
  EXPECT_EQ(luogo_nascita(), "PID-11|^^^^^^N");  // no table: the state stays unknown
  cartella.Scrivi("SA_STATI_ESTERI.csv", "7;404;USA;STATI UNITI;;Z404;01/01/1900;31/12/9999\r\n");
  EXPECT_EQ(luogo_nascita(), "PID-11|^^^^^USA^N");
  c.Paziente.CodiceFiscale = "RSSMRA10C45L736K";
  c.Paziente.CittaNascitaITA = "VENEZIA";
  c.Paziente.ProvinciaNascitaITA = "VE";
  EXPECT_EQ(luogo_nascita(), "PID-11|^^VENEZIA^VE^^ITA^N");
}

}  // namespace
}  // namespace qzkiro::consent
