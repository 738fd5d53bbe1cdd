#include "util/Testo.h"

#include <gtest/gtest.h>

#include "util/DataOra.h"

namespace qzkiro::util {
namespace {

TEST(TestoTest, Latin1ConversionIsOneBytePerCharacter) {
  EXPECT_EQ(Utf8ToLatin1("è"), "\xE8");
  EXPECT_EQ(Utf8ToLatin1("perché €"), "perch\xE9 ?");
  EXPECT_EQ(Latin1ToUtf8("perch\xE9"), "perché");
  EXPECT_EQ(Latin1ToUtf8(Utf8ToLatin1("àèìòù ÀÈ ÿ")), "àèìòù ÀÈ ÿ");
  EXPECT_EQ(Utf8ToLatin1("\xE8x"), "\xE8x") << "a stray Latin-1 byte is kept";
  EXPECT_EQ(Utf8ToLatin1("\xC3"), "\xC3") << "a truncated sequence is kept";
  EXPECT_EQ(Trim("  a b  "), "a b");
  EXPECT_EQ(Trim("   "), "");
}

TEST(DataOraTest, FormatsHostPatternsAndMovesByDays) {
  DataOra d{2024, 1, 31, 14, 5, 9};
  EXPECT_EQ(d.Formato("yyyy-mm-dd hh\\:nn\\:ss"), "2024-01-31 14:05:09");
  EXPECT_EQ(d.Formato("yyyymmddhhnnss"), "20240131140509");
  EXPECT_EQ(d.Formato("dd"), "31");
  EXPECT_EQ(d.PiuGiorni(1).Formato("yyyymmdd"), "20240201");
  EXPECT_EQ(DataOra{}.Formato("yyyymmdd"), "18991230") << "the host's empty date";
  EXPECT_EQ((DataOra{2024, 2, 28}).PiuGiorni(1).Formato("yyyymmdd"), "20240229");
  EXPECT_EQ((DataOra{2023, 3, 1}).PiuGiorni(-1).Formato("yyyymmdd"), "20230228");
  EXPECT_LT((DataOra{2019, 10, 10, 23}), (DataOra{2019, 10, 11}));
  EXPECT_EQ((DataOra{2026, 12, 31, 23, 59, 58}).PiuSecondi(3).Formato("yyyymmddhhnnss"),
            "20270101000001");
  EXPECT_EQ((DataOra{2026, 3, 1, 0, 30, 0}).PiuSecondi(-3600).Formato("yyyymmddhhnnss"),
            "20260228233000");
  EXPECT_EQ((DataOra{2027, 1, 1}).SecondiDa(DataOra{2026, 12, 31, 23, 59, 0}), 60);
  EXPECT_EQ(DataOra::Leggi("2026-02-28 07:05:09")->Formato("yyyymmddhhnnss"), "20260228070509");
  EXPECT_EQ(DataOra::Leggi("28/02/2026 07:05")->Formato("yyyymmddhhnnss"), "20260228070500");
  EXPECT_FALSE(DataOra::Leggi("2026-02-30 07:05:09").has_value());
  EXPECT_FALSE(DataOra::Leggi("ieri").has_value());
  // Each clock field on both sides of its range.
  for (const char* fuori : {"2026-02-28 24:00:00", "2026-02-28 -1:00:00", "2026-02-28 07:60:00",
                            "2026-02-28 07:-5:00", "2026-02-28 07:05:60", "2026-02-28 07:05:-1"}) {
    EXPECT_FALSE(DataOra::Leggi(fuori).has_value()) << fuori;
  }
  EXPECT_TRUE(DataOra::Leggi("2026-02-28 23:59:59").has_value());
  EXPECT_TRUE(DataOra::Leggi("2026-02-28 00:00:00").has_value());
}

}  // namespace
}  // namespace qzkiro::util
