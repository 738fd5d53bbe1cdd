#include "services/assistiti/ElencoAssistiti.h"

#include <gtest/gtest.h>


#include "support/DatiPubblici.h"

namespace qzkiro::assistiti {
namespace {

const std::string kCf = "urn:oid:2.16.840.1.113883.2.9.4.3.2";
const std::string kMpi = "urn:oid:2.16.840.1.113883.2.9.2.50.4.1.2";

std::string Id(const std::string& sistema, const std::string& valore) {
  return "<identifier><use value=\"official\"/><system value=\"" + sistema + "\"/><value value=\"" +
         valore + "\"/></identifier>";
}

std::string Voce(const std::string& risorsa) {
  return "<entry><fullUrl value=\"https://fhir.example/Patient/1\"/><resource>" + risorsa +
         "</resource><search><mode value=\"match\"/></search></entry>";
}

std::string Paziente(const std::string& identificativi) {
  return Voce("<Patient><id value=\"1\"/>" + identificativi + "</Patient>");
}

std::string Bundle(const std::string& voci) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Bundle xmlns=\"http://hl7.org/fhir\">"
         "<type value=\"searchset\"/>" +
         voci + "</Bundle>";
}

TEST(ElencoAssistitiTest, TheSearchNamesTheDoctorByFiscalCodeAndAsksForIdentifiersOnly) {
  EXPECT_EQ(RicercaAssistiti("RSSMRA70A01L736S"),
            "?general-practitioner.identifier=urn:oid:2.16.840.1.113883.2.9.4.3.2|"
            "RSSMRA70A01L736S&_elements=identifier");
}

TEST(ElencoAssistitiTest, EachPatientGivesItsFiscalCodeAndIndexCodeBySystem) {
  // clang-format off
  const struct {
    const char* caso;
    std::string bundle;
    bool letto;
    std::vector<AssistitoFse> attesi;
  } casi[] = {
      {"fiscal code first", Bundle(Paziente(Id(kCf, "RSSMRA45M41L736K") + Id(kMpi, "MPI0000001"))),
       true, {{"RSSMRA45M41L736K", "MPI0000001"}}},
      {"index code first, another system between, lower case and blanks",
       Bundle(Paziente(Id(kMpi, "MPI0000004") + Id("urn:oid:2.16.840.1.113883.2.9.4.3.7", "X1") +
                       Id(kCf, " nrepla91m50h501b "))),
       true, {{"NREPLA91M50H501B", "MPI0000004"}}},
      {"only one of the two",
       Bundle(Paziente(Id(kCf, "GLLNNA38D45L736S")) + Paziente(Id(kMpi, "MPI0000006"))), true,
       {{"GLLNNA38D45L736S", ""}, {"", "MPI0000006"}}},
      {"a patient with neither, and a resource that is no patient, are left out",
       Bundle(Paziente(Id("urn:oid:1.2.3", "Z")) +
              Voce("<Practitioner>" + Id(kCf, "RSSMRA70A01L736S") + "</Practitioner>") +
              Paziente(Id(kCf, "BRNSFO15H55L736M"))),
       true, {{"BRNSFO15H55L736M", ""}}},
      {"the first identifier of a system counts",
       Bundle(Paziente(Id(kCf, "VRDLCU55C12F205S") + Id(kCf, "BNCGLI80A41L736C"))), true,
       {{"VRDLCU55C12F205S", ""}}},
      {"an empty list", Bundle(""), true, {}},
      {"an OperationOutcome is no list",
       "<OperationOutcome xmlns=\"http://hl7.org/fhir\"><issue><severity value=\"error\"/>"
       "</issue></OperationOutcome>",
       false, {}},
      {"a cut answer", Bundle(Paziente(Id(kCf, "RSSMRA45M41L736K"))).substr(0, 150), false, {}},
      {"nothing", "", false, {}},
  };
  // clang-format on
  for (const auto& c : casi) {
    const ElencoAssistiti elenco = LeggiElencoAssistiti(c.bundle);
    EXPECT_EQ(elenco.letto, c.letto) << c.caso;
    EXPECT_EQ(elenco.assistiti, c.attesi) << c.caso;
  }
}

TEST(ElencoAssistitiTest, ARefusalIsToldWithTheServerTexts) {
  const std::string outcome =
      "<OperationOutcome xmlns=\"http://hl7.org/fhir\">"
      "<issue><severity value=\"error\"/><code value=\"invalid\"/><details><text "
      "value=\"Parametro non ammesso\"/></details></issue>"
      "<issue><severity value=\"error\"/><code value=\"security\"/>"
      "<diagnostics value=\"Asserzione scaduta\"/></issue>"
      "<issue><severity value=\"warning\"/><code value=\"informational\"/></issue>"
      "</OperationOutcome>";
  EXPECT_EQ(MotivoRifiuto(outcome), "Parametro non ammesso\r\nAsserzione scaduta");
  EXPECT_EQ(MotivoRifiuto(Bundle("")), "");
  EXPECT_EQ(MotivoRifiuto("Errore interno"), "");
}

std::string Esempio(const std::string& nome) {
  return testsupport::TestoPubblico("fhir-stu3/examples/" + nome);
}

TEST(ElencoAssistitiCampioni, ThePublicBundlesAndOutcomes) {
  QZKIRO_RICHIEDE_CAMPIONI();
  for (const char* file : {"bundle-example.xml", "xds-example.xml"}) {
    const ElencoAssistiti elenco = LeggiElencoAssistiti(Esempio(file));
    EXPECT_TRUE(elenco.letto) << file;
    EXPECT_TRUE(elenco.assistiti.empty())
        << file << ": no Patient with a fiscal code or an index code";
  }
  EXPECT_FALSE(LeggiElencoAssistiti(Esempio("operationoutcome-example.xml")).letto);
  EXPECT_EQ(MotivoRifiuto(Esempio("operationoutcome-example-searchfail.xml")),
            "The \"name\" parameter has the modifier \"exact\" which is not supported by this "
            "server");
  EXPECT_EQ(MotivoRifiuto(Esempio("operationoutcome-example-break-the-glass.xml")),
            "Additional information may be available using the Break-The-Glass Protocol");
}

}  // namespace
}  // namespace qzkiro::assistiti
