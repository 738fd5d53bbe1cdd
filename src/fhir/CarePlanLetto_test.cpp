#include "fhir/CarePlanLetto.h"

#include <gtest/gtest.h>


#include "support/DatiPubblici.h"

namespace qzkiro::fhir {
namespace {

const std::string kCarePlan =
    "<CarePlan xmlns=\"http://hl7.org/fhir\"><id value=\"123\"/>"
    "<meta><lastUpdated value=\"2024-03-05T09:07:04+01:00\"/></meta>"
    "<status value=\"active\"/><intent value=\"proposal\"/>"
    "<subject><reference value=\"Patient/p7\"/></subject>"
    "<period><start value=\"2024-03-01\"/><end value=\"2024-03-31\"/></period>"
    "<activity><detail><status value=\"completed\"/><description value=\"Elaborato\"/></detail>"
    "</activity></CarePlan>";

TEST(CarePlanLettoTest, ACarePlanReadBackGivesTheFlowFields) {
  const CarePlanRicevuti r = LeggiCarePlan(kCarePlan);
  EXPECT_EQ(r.Errore, "");
  ASSERT_EQ(r.CarePlan.size(), 1u);
  const CarePlanLetto& c = r.CarePlan[0];
  EXPECT_EQ(c.Id + "|" + c.Stato + "|" + c.UltimoAggiornamento + "|" + c.Commento + "|" +
                c.RiferimentoPaziente + "|" + c.IdPaziente + "|" + c.InizioPeriodo + "|" +
                c.FinePeriodo + "|" + c.Ricevuta,
            "123|active|2024-03-05T09:07:04+01:00|Elaborato|Patient/p7|p7|2024-03-01|2024-03-31|"
            "CarePlan////123");
}

TEST(CarePlanLettoTest, WhatIsNotACarePlan) {
  // clang-format off
  const struct { std::string risposta; const char* errore; } casi[] = {
      {"<Patient xmlns=\"http://hl7.org/fhir\"><id value=\"1\"/></Patient>",
       "CarePlan non trovato"},
      {"<OperationOutcome xmlns=\"http://hl7.org/fhir\"><issue><severity value=\"error\"/>"
       "<code value=\"not-found\"/><details><text value=\"Risorsa inesistente\"/></details>"
       "</issue></OperationOutcome>",
       "Risorsa inesistente"},
      {"Not Found", "Il server ha risposto in modo anomalo."},
  };
  // clang-format on
  for (const auto& c : casi) {
    const CarePlanRicevuti r = LeggiCarePlan(c.risposta);
    EXPECT_EQ(r.Errore, c.errore) << c.risposta;
    EXPECT_TRUE(r.CarePlan.empty());
  }
}

TEST(CarePlanLettoTest, ASearchListsEveryCarePlan) {
  const std::string ricerca =
      "<Bundle xmlns=\"http://hl7.org/fhir\"><type value=\"searchset\"/>"
      "<entry><resource>" + kCarePlan + "</resource></entry>"
      "<entry><resource><OperationOutcome><issue><severity value=\"information\"/></issue>"
      "</OperationOutcome></resource></entry>"
      "<entry><resource><CarePlan><id value=\"124\"/><status value=\"cancelled\"/>"
      "<subject><reference value=\"Patient/p8\"/></subject></CarePlan></resource></entry>"
      "<entry><resource><CarePlan><id value=\"125\"/>"
      "<subject><reference value=\"Group/g1\"/></subject></CarePlan></resource></entry>"
      "</Bundle>";
  const CarePlanRicevuti r = LeggiRicercaCarePlan(ricerca);
  EXPECT_EQ(r.Errore, "");
  ASSERT_EQ(r.CarePlan.size(), 3u);
  EXPECT_EQ(r.CarePlan[2].IdPaziente, "");  // a group is no patient
  EXPECT_EQ(r.CarePlan[1].Id + " " + r.CarePlan[1].Stato + " " + r.CarePlan[1].IdPaziente,
            "124 cancelled p8");
  EXPECT_EQ(r.CarePlan[1].Commento, "");
  EXPECT_EQ(LeggiRicercaCarePlan("<Bundle xmlns=\"http://hl7.org/fhir\"/>").CarePlan.size(), 0u);
  EXPECT_EQ(LeggiRicercaCarePlan(kCarePlan).Errore,
            "Formato di risposta del messaggio sconosciuto.");
  EXPECT_EQ(LeggiRicercaCarePlan("").Errore, "Il server ha risposto in modo anomalo.");
}

TEST(CarePlanLettoTest, APatientGivesFiscalCodeAndName) {
  const std::string paziente =
      "<Patient xmlns=\"http://hl7.org/fhir\"><id value=\"p7\"/>"
      "<identifier><system value=\"urn:oid:2.16.840.1.113883.2.9.2.50.4.1.2\"/>"
      "<value value=\"MPI0000001\"/></identifier>"
      "<identifier><system value=\"urn:oid:2.16.840.1.113883.2.9.4.3.2\"/>"
      "<value value=\"RSSMRA10C45L736K\"/></identifier>"
      "<name><family value=\"ROSSI\"/><given value=\"MARIA\"/></name></Patient>";
  const PazienteLetto p = LeggiPaziente(paziente);
  EXPECT_EQ(p.Id + " " + p.CodiceFiscale + " " + p.Cognome + " " + p.Nome,
            "p7 RSSMRA10C45L736K ROSSI MARIA");
  const PazienteLetto in_bundle = LeggiPaziente(
      "<Bundle xmlns=\"http://hl7.org/fhir\"><entry><resource><Basic/></resource></entry>"
      "<entry><resource>" + paziente + "</resource></entry></Bundle>");
  EXPECT_EQ(in_bundle.Id, "p7");
  EXPECT_EQ(LeggiPaziente(kCarePlan).Id, "");
  EXPECT_EQ(LeggiPaziente("<<").CodiceFiscale, "");
}

TEST(CarePlanLettoCampioni, ThePublicCarePlanExample) {
  QZKIRO_RICHIEDE_CAMPIONI();
  const CarePlanRicevuti r =
      LeggiCarePlan(testsupport::TestoPubblico("fhir-stu3/examples/careplan-example.xml"));
  ASSERT_EQ(r.CarePlan.size(), 1u) << r.Errore;
  EXPECT_EQ(r.CarePlan[0].Id, "example");
  EXPECT_EQ(r.CarePlan[0].Stato, "active");
  EXPECT_EQ(r.CarePlan[0].IdPaziente, "example");
  EXPECT_EQ(r.CarePlan[0].Ricevuta, "CarePlan////example");
}

}  // namespace
}  // namespace qzkiro::fhir
