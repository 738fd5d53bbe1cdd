#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "refhost/Framework.h"

namespace qzkiro::refhost {
namespace {

using Coppie = std::vector<std::pair<std::string, std::string>>;

TEST(FormatiHostTest, ValoreDataShowsDatesAndTimesToTheMinute) {
  Framework framework;
  const Coppie casi = {
      {"20240131", "31/01/2024"},
      {" 20240229 ", "29/02/2024"},
      {"2024013114", "31/01/2024 14:00"},
      {"202401311405", "31/01/2024 14:05"},
      {"20240131140509", "31/01/2024 14:05"},
      {"20240131140509.1234+0100", "31/01/2024 14:05"},
      {"20240131000000-0500", "31/01/2024 00:00"},
      {"20240131+0100", "31/01/2024"},
      {"2024-01-31", "31/01/2024"},
      {"2024-01-31 14:05", "31/01/2024 14:05"},
      {"2024-01-31T14:05:09", "31/01/2024 14:05"},
  };
  for (const auto& [data, attesa] : casi) EXPECT_EQ(framework.ValoreData(data), attesa) << data;
  for (const std::string invariata :
       {"", "abc", "20230229", "20241301", "20240132", "202401311460", "20240131240000", "2024013",
        "202401311", "20240131140509.+0100", "20240131+01", "2024013114050.1", "31/01/2024",
        "2024-01-31 25:00", "2024-01-31 14", "2024-1-31", " 2024-01-31X"}) {
    EXPECT_EQ(framework.ValoreData(invariata), invariata);
  }
}

TEST(FormatiHostTest, ValoreReadsNumbersWithPointOrCommaElseZero) {
  Framework framework;
  const std::vector<std::pair<std::string, double>> casi = {
      {"5", 5},       {"3.75", 3.75},  {"3,75", 3.75}, {" 12,5 ", 12.5}, {"<5", 5},
      {"> 10", 10},   {"<= 0,5", 0.5}, {">=7", 7},     {"-1.5", -1.5},   {"+2", 2},
      {".5", 0.5},    {"5.", 5},       {"abc", 0},     {"", 0},          {"1.234,5", 0},
      {"5 mg/dl", 0}, {"1e3", 0},      {"<", 0},       {"--1", 0},       {"1,2,3", 0},
  };
  for (const auto& [testo, atteso] : casi)
    EXPECT_DOUBLE_EQ(framework.Valore(testo), atteso) << testo;
}

TEST(FormatiHostTest, NoEntityEscapesTheFiveHtmlCharacters) {
  Framework framework;
  EXPECT_EQ(framework.NoEntity("<a href=\"x\">Tom & Jerry's</a>"),
            "&lt;a href=&quot;x&quot;&gt;Tom &amp; Jerry&#39;s&lt;/a&gt;");
  EXPECT_EQ(framework.NoEntity("perché &amp;"), "perché &amp;amp;");
  EXPECT_EQ(framework.NoEntity(""), "");
}

TEST(FormatiHostTest, GetMimeGivesTheBodyOfTheFirstPartWithoutLineEnds) {
  Framework framework;
  const Coppie casi = {
      {"Content-Type: application/pdf\r\nContent-Transfer-Encoding: base64\r\n\r\nJVBE\r\nRi0=\r\n",
       "JVBERi0="},
      {"MIME-Version: 1.0\nContent-Type: multipart/related; boundary=b\n\n--b\n"
       "Content-Type: application/xml\n\nPGE+\nPC9hPg==\n--b--\n",
       "PGE+PC9hPg=="},
      {"Content-Type: application/pdf", ""},
      {"<ClinicalDocument/>", ""},
      {"", ""},
  };
  for (const auto& [testo, corpo] : casi) EXPECT_EQ(framework.GetMime(testo), corpo) << testo;
  EXPECT_NE(framework.NewMime(), framework.NewMime()) << "a new parser each time";
}

}  // namespace
}  // namespace qzkiro::refhost
