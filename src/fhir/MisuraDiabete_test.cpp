#include "fhir/MisuraDiabete.h"

#include <gtest/gtest.h>

namespace qzkiro::fhir {
namespace {

TEST(MisuraDiabeteTest, Records204And210BecomeObservations) {
  const struct {
    int tipo;
    const char* descrizione;
    const char* dettaglio;
    const char* codice;
    const char* unita;
  } casi[] = {
      {204, "Pressione arteriosa diastolica", "Diastolica: 85", "8462-4", "mm[Hg]"},
      {210, "Frequenza cardiaca", "FC: 85", "8867-4", "/min"},
  };
  for (const auto& c : casi) {
    const auto m = MisuraDaRecord(c.tipo, "85");
    ASSERT_TRUE(m) << c.tipo;
    EXPECT_EQ(m->Descrizione, c.descrizione);
    EXPECT_EQ(m->Dettaglio, c.dettaglio);
    EXPECT_EQ(m->Osservazione.Codice,
              (Codifica{"http://loinc.org", c.codice, c.descrizione}));
    EXPECT_EQ(m->Osservazione.Valore + " " + m->Osservazione.Unita, std::string("85 ") + c.unita);
    EXPECT_EQ(m->Osservazione.Tipo, TipoValore::Quantita);
  }
  for (int altro : {0, 203, 205, 209, 211}) EXPECT_FALSE(MisuraDaRecord(altro, "85")) << altro;
}

TEST(MisuraDiabeteTest, ThePeriodIncludesBothEnds) {
  // clang-format off
  const struct { const char* data; bool dentro; } casi[] = {
      {"20240229", false}, {"20240301", true}, {"20240315", true}, {"20240331", true},
      {"20240331235959", true}, {"20240401", false}, {"2024031", false}, {"", false},
  };
  // clang-format on
  for (const auto& c : casi) {
    EXPECT_EQ(NelPeriodo(c.data, "20240301", "20240331"), c.dentro) << c.data;
  }
}

}  // namespace
}  // namespace qzkiro::fhir
