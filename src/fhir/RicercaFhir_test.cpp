#include "fhir/RicercaFhir.h"

#include <gtest/gtest.h>

#include "fhir/CodiciFhir.h"

namespace qzkiro::fhir {
namespace {

TEST(RicercaFhirTest, QueriesByIdentifierPerformerPatientCodeAndDates) {
  EXPECT_EQ(QueryIdentificativo(kOidMpi, "MPI0000001"),
            "identifier=urn:oid:2.16.840.1.113883.2.9.2.50.4.1.2|MPI0000001");
  EXPECT_EQ(QueryIdentificativo(kOidAzienda, "501"),
            "identifier=urn:oid:2.16.840.1.113883.2.9.4.1.1|501");
  EXPECT_EQ(QueryRicercaCarePlan("MDCGPP60A01L736X", "", "2024-03-01", "2024-03-31"),
            "CarePlan?performer.identifier=urn:oid:2.16.840.1.113883.2.9.4.3.2|MDCGPP60A01L736X"
            "&date=ge2024-03-01&date=le2024-03-31");
  EXPECT_EQ(QueryRicercaCarePlan("MDCGPP60A01L736X", "RSSMRA10C45L736K", "01/03/2024", ""),
            "CarePlan?patient.identifier=urn:oid:2.16.840.1.113883.2.9.4.3.2|RSSMRA10C45L736K");
  EXPECT_EQ(QueryRicercaIndicatori("MDCGPP60A01L736X", "", "", "2024-06-30"),
            "/Observation?performer.identifier=urn:oid:2.16.840.1.113883.2.9.4.3.2|"
            "MDCGPP60A01L736X&date=le2024-06-30");
  EXPECT_EQ(QueryRicercaIndicatori("MDCGPP60A01L736X", "IND01", "2024-01-01", ""),
            "/Observation?performer.identifier=urn:oid:2.16.840.1.113883.2.9.4.3.2|"
            "MDCGPP60A01L736X&code=IND01&date=ge2024-01-01");
  for (const char* non_data : {"20240301", "2024-3-01", "2024/03/01", "2024-03-0x", ""}) {
    EXPECT_FALSE(DataRicerca(non_data)) << non_data;
  }
}

std::string Ricerca(const std::string& voci) {
  return "<Bundle xmlns=\"http://hl7.org/fhir\"><type value=\"searchset\"/>" + voci + "</Bundle>";
}

std::string Voce(const std::string& tipo, const std::string& id, const std::string& stato) {
  return "<entry><fullUrl value=\"https://s/" + tipo + "/" + id + "\"/><resource><" + tipo +
         "><id value=\"" + id + "\"/>" +
         (stato.empty() ? "" : "<status value=\"" + stato + "\"/>") + "</" + tipo +
         "></resource></entry>";
}

TEST(RicercaFhirTest, TheFirstResourceThatIsNotCancelledGivesTheId) {
  const std::string risposta =
      Ricerca(Voce("OperationOutcome", "x", "") + Voce("Patient", "p1", "cancelled") +
              Voce("Patient", "p2", "") + Voce("Patient", "p3", "active"));
  EXPECT_EQ(PrimoIdRisorsa(risposta, "Patient"), "p2");
  EXPECT_EQ(PrimoIdRisorsa(risposta, "Patient", false), "p1");
  EXPECT_EQ(PrimoIdRisorsa(Ricerca(Voce("Practitioner", "m1", "cancelled")), "Practitioner"), "");
  EXPECT_EQ(PrimoIdRisorsa(risposta, "Organization"), "");
  EXPECT_EQ(PrimoIdRisorsa(Ricerca(""), "Patient"), "");
  EXPECT_EQ(PrimoIdRisorsa("<Patient xmlns=\"http://hl7.org/fhir\"><id value=\"p\"/></Patient>",
                           "Patient"),
            "");
  EXPECT_EQ(PrimoIdRisorsa("Service Unavailable", "Patient"), "");
}

}  // namespace
}  // namespace qzkiro::fhir
