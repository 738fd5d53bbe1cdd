#include "fhir/BundleIndicatori.h"

#include <gtest/gtest.h>

#include "fhir/ProveFhir_test.h"

namespace qzkiro::fhir {
namespace {

using prove::FlussoPA;
using prove::Riletto;
using prove::Valori;
using prove::Voci;
using util::clsXML;

TEST(BundleIndicatoriTest, EntriesAndTheHeaderFocusOnEveryObservation) {
  clsXML x = Riletto(BundleIndicatori(FlussoPA()));
  EXPECT_EQ(Voci(x), (std::vector<std::string>{
                         "MessageHeader POST /MessageHeader", "Organization POST /Organization",
                         "Practitioner POST /Practitioner", "Observation POST /Observation",
                         "Observation POST /Observation"}));
  const NodoFhir voce = Figli(x.rootNode(), "entry")[0];
  EXPECT_EQ(Valore(voce, "fullUrl"), "urn:uuid:5dfe3acf-d651-4e99-9f6f-f3c81f8d9450");
  const NodoFhir h = RisorsaDellaVoce(voce);
  EXPECT_EQ(Valori(h, "event/", {"system", "code"}),
            "urn:oid:2.16.840.1.113883.2.9.2.50.6.14.11 create");
  EXPECT_EQ(Valore(h, "timestamp"), "2024-07-01T10:00:00Z");
  std::vector<std::string> focus;
  for (NodoFhir f : Figli(h, "focus")) focus.push_back(Valore(f, "reference"));
  EXPECT_EQ(focus, (std::vector<std::string>{"urn:uuid:dddddddd-0000-4000-8000-000000000001",
                                             "urn:uuid:dddddddd-0000-4000-8000-000000000002"}));
  EXPECT_EQ(Figlio(h, "sender"), nullptr);

  FlussoIndicatori f = FlussoPA();
  f.Id = {{}, "m1", "o1"};
  f.Intestazione.Aggiornamento = true;
  f.Esteso = true;
  clsXML y = Riletto(BundleIndicatori(f));
  EXPECT_EQ(Voci(y).size(), 3u);
  EXPECT_EQ(Valore(prove::Risorsa(y, "MessageHeader"), "event/code"), "update");
  EXPECT_EQ(Valore(prove::Risorsa(y, "MessageHeader"), "sender/reference"), "Organization/o1");
  EXPECT_EQ(Valore(prove::Risorsa(y, "Observation"), "performer/reference"), "Practitioner/m1");
}

TEST(BundleIndicatoriTest, EachObservationCarriesGroupCodingsPeriodAndValue) {
  clsXML x = Riletto(BundleIndicatori(FlussoPA()));
  std::vector<NodoFhir> o;
  for (NodoFhir entry : Figli(x.rootNode(), "entry")) {
    if (NomeRisorsa(RisorsaDellaVoce(entry)) == "Observation") o.push_back(RisorsaDellaVoce(entry));
  }
  ASSERT_EQ(o.size(), 2u);
  EXPECT_EQ(Valore(o[0], "identifier/use"), "official");
  EXPECT_EQ(Valore(o[1], "identifier/use"), "usual");
  EXPECT_EQ(Valore(o[0], "status"), "registered");
  EXPECT_EQ(Valori(o[0], "category/coding/", {"code", "display"}), "G1 Indicatori di processo");
  EXPECT_EQ(Valori(o[0], "code/coding/", {"code", "display"}), "IND01 Indicatore 1");
  EXPECT_EQ(Valori(o[0], "effectivePeriod/", {"start", "end"}), "2024-01-01 2024-06-30");
  EXPECT_EQ(Valore(o[0], "performer/reference"), "urn:uuid:eeeeeeee-0000-4000-8000-000000000001");
  EXPECT_EQ(Valore(o[0], "valueRatio/numerator/value") + "/" +
                Valore(o[0], "valueRatio/denominator/value"),
            "12/40");
  EXPECT_EQ(Figlio(o[0], "valueQuantity"), nullptr);
  EXPECT_EQ(Valori(o[1], "valueQuantity/", {"value", "unit"}), "7.5 %");
  EXPECT_EQ(Figlio(o[1], "valueRatio"), nullptr);
  EXPECT_EQ(Valore(o[1], "method/text"), "Calcolo sul periodo");

  FlussoIndicatori annullo = FlussoPA();
  annullo.Annullamento = true;
  clsXML y = Riletto(BundleIndicatori(annullo));
  EXPECT_EQ(Valore(prove::Risorsa(y, "Observation"), "status"), "cancelled");
}

}  // namespace
}  // namespace qzkiro::fhir
