#include "cda/ValoriCDA.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace qzkiro::cda {
namespace {

TEST(ValoriCDATest, FourDecimalsHalfToEven) {
  EXPECT_DOUBLE_EQ(Arrotonda4(95.12346), 95.1235);
  EXPECT_DOUBLE_EQ(Arrotonda4(1.00004), 1);
  EXPECT_DOUBLE_EQ(Arrotonda4(-1.23456), -1.2346);
  EXPECT_DOUBLE_EQ(Arrotonda4(2.5), 2.5);
}

TEST(ValoriCDATest, RecordDatesFromCdaTimeStamps) {
  // clang-format off
  const std::vector<std::pair<std::string, std::string>> casi = {
      {"20261205093000+0100", "20261205093000"}, {"20261205", "20261205000000"},
      {"2026120509", "20261205090000"}, {"20261205093000.1234", "20261205093000"}, {"", ""},
      {"oggi", ""}};
  // clang-format on
  for (const auto& [ts, data] : casi) EXPECT_EQ(DataOraCompatta(ts), data) << ts;
}

}  // namespace
}  // namespace qzkiro::cda
