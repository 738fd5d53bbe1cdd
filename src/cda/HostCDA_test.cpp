#include "cda/HostCDA.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/Contesto.h"

namespace qzkiro::cda {
namespace {

TEST(HostCDATest, NumbersReadByTheHostRuleWithoutAHost) {
  core::NuovoContesto();
  const std::vector<std::pair<std::string, double>> casi = {
      {"12", 12}, {" 3,5 ", 3.5}, {"<5", 5},  {">= 10", 10}, {"-2.25", -2.25},
      {"+1", 1},  {"12 mg", 0},   {"abc", 0}, {"", 0},       {"1,2,3", 0},
      {"<", 0},   {"+", 0},       {"inf", 0}, {"1e400", 0}};
  for (const auto& [testo, numero] : casi) {
    EXPECT_DOUBLE_EQ(NumeroLocale(testo), numero) << testo;
    EXPECT_DOUBLE_EQ(ValoreNumero(testo), numero) << testo;
  }
}

TEST(HostCDATest, FourDecimals) {
  EXPECT_DOUBLE_EQ(Arrotonda4(95.12346), 95.1235);
  EXPECT_DOUBLE_EQ(Arrotonda4(1.00004), 1);
  EXPECT_DOUBLE_EQ(Arrotonda4(-1.23456), -1.2346);
  EXPECT_DOUBLE_EQ(Arrotonda4(2.5), 2.5);
}

TEST(HostCDATest, RecordDatesFromCdaTimeStamps) {
  const std::vector<std::pair<std::string, std::string>> casi = {
      {"20261205093000+0100", "20261205093000"},
      {"20261205", "20261205000000"},
      {"2026120509", "20261205090000"},
      {"20261205093000.1234", "20261205093000"},
      {"", ""},
      {"oggi", ""}};
  for (const auto& [ts, data] : casi) EXPECT_EQ(DataOraCompatta(ts), data) << ts;
}

TEST(HostCDATest, WithoutAHostTextsStayAndBase64IsLatin1) {
  core::NuovoContesto();
  EXPECT_EQ(ValoreData("20261205"), "20261205");
  EXPECT_EQ(CodificaBase64("è"), "6A==");
  EXPECT_EQ(CodificaBase64(""), "");
  EXPECT_EQ(DescrizioneVisita("201"), "");
  EXPECT_TRUE(TimbroFile().ends_with("000"));
}

}  // namespace
}  // namespace qzkiro::cda
