#include "flows/DateFlusso.h"

#include <gtest/gtest.h>

namespace qzkiro::flows {
namespace {

TEST(DateFlussoTest, TheHostsDateFormsAndNothingElse) {
  // clang-format off
  const struct { const char* testo; const char* iso; } casi[] = {
      {"20261130", "2026-11-30"}, {"20261130093000", "2026-11-30"}, {"2026-11-30", "2026-11-30"},
      {"2026-11-30 09:30:00", "2026-11-30"}, {"30/11/2026", "2026-11-30"},
      {"30/11/2026 09:30", "2026-11-30"}, {"2026-13-01", ""}, {"32/01/2026", ""},
      {"00/01/2026", ""}, {"2026/11/30", ""}, {"1130", ""}, {"", ""}, {"ab/cd/efgh", ""},
  };
  // clang-format on
  for (const auto& c : casi) {
    EXPECT_EQ(DataIso(c.testo), c.iso) << c.testo;
    std::string compatta = c.iso;
    std::erase(compatta, '-');
    EXPECT_EQ(DataCompatta(c.testo), compatta) << c.testo;
  }
}

}  // namespace
}  // namespace qzkiro::flows
