#include "fhir/Ricevuta.h"

#include <gtest/gtest.h>

namespace qzkiro::fhir {
namespace {

TEST(RicevutaTest, TheReceiptSplitsIntoTypeAndId) {
  EXPECT_EQ(Ricevuta("CarePlan", "123"), "CarePlan////123");
  // clang-format off
  const struct {
    const char* ricevuta;
    const char* tipo;
    const char* id;  // "" when refused
  } casi[] = {
      {"CarePlan////123", "CarePlan", "123"}, {" CarePlan////abc-9 ", "CarePlan", "abc-9"},
      {"Observation////7", "Observation", "7"}, {"Observation////7", "CarePlan", ""},
      {"CarePlan/123", "CarePlan", ""}, {"CarePlan////", "CarePlan", ""},
      {"////123", "CarePlan", ""}, {"CarePlan////123/_history/1", "CarePlan", ""},
      {"", "CarePlan", ""},
  };
  // clang-format on
  for (const auto& c : casi) {
    const RicevutaLetta r = LeggiRicevuta(c.ricevuta, c.tipo);
    EXPECT_EQ(r.Id, c.id) << c.ricevuta;
    EXPECT_EQ(r.Errore, *c.id ? "" : "Codice risorsa non valido") << c.ricevuta;
    EXPECT_EQ(r.Valida(), *c.id != '\0');
  }
}

TEST(RicevutaTest, LocationsGiveTypeIdAndVersion) {
  // clang-format off
  const struct {
    const char* location;
    const char* tipo;
    const char* id;
    const char* versione;
  } casi[] = {
      {"CarePlan/123/_history/1", "CarePlan", "123", "1"}, {"CarePlan/123", "CarePlan", "123", ""},
      {"https://fhir.example.it/baseStu3/Observation/o-5/_history/2", "Observation", "o-5", "2"},
      {"Patient/9?_format=xml", "Patient", "9", ""}, {"https://fhir.example.it", "", "", ""},
      {"urn:uuid:aaaaaaaa-0000-4000-8000-000000000001", "", "", ""}, {"123", "", "", ""},
      {"", "", "", ""},
  };
  // clang-format on
  for (const auto& c : casi) {
    const Posizione p = LeggiPosizione(c.location);
    EXPECT_EQ(p.Tipo + "|" + p.Id + "|" + p.Versione,
              std::string(c.tipo) + "|" + c.id + "|" + c.versione)
        << c.location;
  }
}

}  // namespace
}  // namespace qzkiro::fhir
