#include "refhost/StoricoUtente.h"

#include <gtest/gtest.h>

#include <string>

#include "qzkiro/Failure.h"

namespace qzkiro::refhost {
namespace {

TEST(StoricoUtenteTest, HistoryDatesMustBeRealDaysWrittenDayFirst) {
  const struct {
    const char* data;
    const char* iso;
  } casi[] = {
      {"01/01/2018", "2018-01-01"}, {"30/06/2018", "2018-06-30"},
      {"29/02/2020", "2020-02-29"}, {"29/02/2019", ""},
      {"31/04/2018", ""},           {"00/01/2018", ""},
      {"01/13/2018", ""},           {"1/1/2018", ""},
      {"2018-01-01", ""},           {"01/01/2018 10:00", ""},
      {"01/01/2O18", ""},           {"", ""},
  };
  for (const auto& caso : casi) EXPECT_EQ(DataIsoStorico(caso.data), caso.iso) << caso.data;
}

TEST(StoricoUtenteTest, WithoutADatabaseTheHistoryIsEmptyButBadDatesAreStillRefused) {
  StoricoUtente storico;
  EXPECT_TRUE(storico.Lista(209, "01/01/2018", "30/06/2018").empty());
  EXPECT_THROW(storico.Lista(209, "2018-01-01", "30/06/2018"), Failure);
  EXPECT_THROW(storico.Lista(209, "01/01/2018", "31/06/2018"), Failure);
}

TEST(StoricoUtenteTest, OnlyARecordOfType209WithATextIdentifierReadsAsAPPIP) {
  const struct {
    int tipo;
    const char* m1;
    bool ppip;
  } casi[] = {
      {209, R"({"IDRif1": "{A1}", "Quantita": 2})", true},
      {300, R"({"IDRif1": "{A1}"})", false},
      {209, "{A1}", false},
      {209, R"({"IDRif1": 7})", false},
      {209, R"({"IDRif1": ""})", false},
      {209, R"(["IDRif1", "{A1}"])", false},
      {209, "", false},
  };
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.m1);
    RecordWorkspace record;
    record.Imposta("TipoRecord", host::Variant(caso.tipo));
    record.Imposta("m1", host::Variant(caso.m1));
    EXPECT_EQ(record.FromStringPPIP(), caso.ppip);
    EXPECT_EQ(record.Membro("IDRif1").ToText(), caso.ppip ? "{A1}" : "");
  }
}

}  // namespace
}  // namespace qzkiro::refhost
