#include "fhir/IndicatoreLetto.h"

#include <gtest/gtest.h>


#include "support/DatiPubblici.h"

namespace qzkiro::fhir {
namespace {

std::string Osservazione(const std::string& uso, const std::string& valore) {
  return "<Observation xmlns=\"http://hl7.org/fhir\"><id value=\"o1\"/>"
         "<meta><lastUpdated value=\"2024-07-01T10:00:00Z\"/></meta>"
         "<identifier><use value=\"" + uso + "\"/><value value=\"IND01\"/></identifier>"
         "<status value=\"registered\"/>"
         "<category><coding><system value=\"urn:cat\"/><code value=\"G1\"/>"
         "<display value=\"Processo\"/></coding></category>"
         "<code><coding><system value=\"urn:ind\"/><code value=\"IND01\"/>"
         "<display value=\"Indicatore 1\"/></coding></code>"
         "<effectivePeriod><start value=\"2024-01-01\"/><end value=\"2024-06-30\"/></effectivePeriod>"
         + valore + "<comment value=\"Validato\"/><method><text value=\"Calcolo\"/></method>"
         "</Observation>";
}

std::string Rapporto(const std::string& n, const std::string& d) {
  return "<valueRatio><numerator><value value=\"" + n + "\"/></numerator><denominator>"
         "<value value=\"" + d + "\"/></denominator></valueRatio>";
}

TEST(IndicatoreLettoTest, AnObservationGivesTheIndicatorItem) {
  const IndicatoriLetti r = LeggiIndicatore(Osservazione(
      "official", "<valueQuantity><value value=\"7.5\"/><unit value=\"%\"/></valueQuantity>"));
  EXPECT_EQ(r.Errore, "");
  ASSERT_EQ(r.Indicatori.size(), 1u);
  const IndicatoreLetto& i = r.Indicatori[0];
  EXPECT_EQ(i.Gruppo, "Indicatori obbligatori MGI");
  EXPECT_EQ(i.DataAggiornamento, "2024-07-01T10:00:00Z");
  EXPECT_EQ(i.CatSystem + " " + i.CatCode + " " + i.CatDisplay, "urn:cat G1 Processo");
  EXPECT_EQ(i.CodSystem + " " + i.CodCode + " " + i.CodDisplay, "urn:ind IND01 Indicatore 1");
  EXPECT_EQ(i.PeriodStart + " " + i.PeriodEnd, "2024-01-01 2024-06-30");
  EXPECT_EQ(i.Method, "Calcolo");
  EXPECT_EQ(i.Value + " " + i.Unit, "7.5 %");
  EXPECT_EQ(i.Numerator + i.Denominator, 0) << "a quantity has no ratio terms";
  EXPECT_EQ(i.Status + " " + i.Comment, "registered Validato");
  EXPECT_EQ(i.Ricevuta, "Observation////o1");
  EXPECT_TRUE(i.Elaborato);
  EXPECT_EQ(LeggiIndicatore(Osservazione("usual", "")).Indicatori[0].Gruppo, "Indicatori");
}

TEST(IndicatoreLettoTest, ARatioIsRoundedAndNeedsBothTerms) {
  // clang-format off
  const struct { const char* n; const char* d; const char* valore; } casi[] = {
      {"12", "40", "0.3"}, {"1", "3", "0.33"}, {"2", "3", "0.67"}, {"10", "4", "2.5"},
      {"8", "2", "4"}, {"5", "0", ""}, {"0", "5", ""}, {"x", "5", ""},
  };
  // clang-format on
  for (const auto& c : casi) {
    const IndicatoreLetto i = LeggiIndicatore(Osservazione("usual", Rapporto(c.n, c.d))).Indicatori[0];
    EXPECT_EQ(i.Value, c.valore) << c.n << "/" << c.d;
  }
  const IndicatoreLetto i = LeggiIndicatore(Osservazione("usual", Rapporto("12", "40"))).Indicatori[0];
  EXPECT_EQ(i.Numerator, 12);
  EXPECT_EQ(i.Denominator, 40);
}

TEST(IndicatoreLettoTest, SearchesAndAnswersWithoutIndicators) {
  const std::string ricerca =
      "<Bundle xmlns=\"http://hl7.org/fhir\"><entry><resource><Observation><id value=\"a\"/>"
      "</Observation></resource></entry><entry><resource><Patient/></resource></entry>"
      "<entry><resource><Observation><id value=\"b\"/><identifier><use value=\"official\"/>"
      "</identifier></Observation></resource></entry></Bundle>";
  const IndicatoriLetti r = LeggiRicercaIndicatori(ricerca);
  ASSERT_EQ(r.Indicatori.size(), 2u);
  EXPECT_EQ(r.Indicatori[0].Id + " " + r.Indicatori[1].Id, "a b");
  EXPECT_EQ(r.Indicatori[1].Gruppo, "Indicatori obbligatori MGI");
  const std::string outcome =
      "<OperationOutcome xmlns=\"http://hl7.org/fhir\"><issue><severity value=\"error\"/>"
      "<details><coding><code value=\"ERR_00041\"/><display value=\"Utente non abilitato\"/>"
      "</coding><text value=\"altro\"/></details></issue></OperationOutcome>";
  const struct {
    IndicatoriLetti letti;
    const char* errore;
  } casi[] = {
      {LeggiRicercaIndicatori(outcome), "ERR_00041 - Utente non abilitato"},
      {LeggiRicercaIndicatori("Bad Gateway"), "Errore sconosciuto"},
      {LeggiRicercaIndicatori("<Observation xmlns=\"http://hl7.org/fhir\"/>"), "Errore sconosciuto"},
      {LeggiIndicatore(outcome), "ERR_00041 - Utente non abilitato"},
      {LeggiIndicatore("<CarePlan xmlns=\"http://hl7.org/fhir\"/>"), "Indicatori non trovati"},
      {LeggiIndicatore(""), "Indicatori non trovati"},
  };
  for (const auto& c : casi) {
    EXPECT_EQ(c.letti.Errore, c.errore);
    EXPECT_TRUE(c.letti.Indicatori.empty());
  }
}

TEST(IndicatoreLettoCampioni, ThePublicObservationExamples) {
  QZKIRO_RICHIEDE_CAMPIONI();
  const auto leggi = [](const char* nome) {
    return LeggiIndicatore(testsupport::TestoPubblico(std::string("fhir-stu3/examples/") + nome));
  };
  const IndicatoriLetti glucosio = leggi("observation-example-f001-glucose.xml");
  ASSERT_EQ(glucosio.Indicatori.size(), 1u);
  const IndicatoreLetto& g = glucosio.Indicatori[0];
  EXPECT_EQ(g.Id + " " + g.Status + " " + g.Value + " " + g.Unit, "f001 final 6.3 mmol/l");
  EXPECT_EQ(g.CodCode, "15074-8");
  EXPECT_EQ(g.Gruppo, "Indicatori obbligatori MGI");
  const IndicatoriLetti pressione = leggi("observation-example-bloodpressure.xml");
  ASSERT_EQ(pressione.Indicatori.size(), 1u);
  EXPECT_EQ(pressione.Indicatori[0].Value, "");
  EXPECT_EQ(pressione.Indicatori[0].CodCode, "85354-9");
}

}  // namespace
}  // namespace qzkiro::fhir
