#include "util/clsCSV.h"

#include <gtest/gtest.h>

#include "sandbox/server/CartellaTemporanea.h"

namespace qzkiro::util {
namespace {

using Records = std::vector<clsCSV::Record>;

class clsCSVTest : public testing::Test {
 protected:
  std::string Scrivi(const std::string& contenuto) {
    return cartella_.Scrivi("dati.csv", contenuto).string();
  }

  sandbox::CartellaTemporanea cartella_;
};

TEST_F(clsCSVTest, Reading) {
  struct Caso {
    std::string contenuto, separatore;
    bool remove_crlf;
    Records atteso;
    std::string errore;
  };
  const Caso casi[] = {
      {"a;b;c\r\n1;2;3\r\n", ";", false, {{"a", "b", "c"}, {"1", "2", "3"}}, ""},
      {"a;;c;\n;\n\nx\"y;z", ";", false, {{"a", "", "c", ""}, {"", ""}, {"x\"y", "z"}}, ""},
      {"\"x;y\";\"say \"\"hi\"\"\";\"\"\n", ";", false, {{"x;y", "say \"hi\"", ""}}, ""},
      {"1;\"uno\n\ndue\";3\n", ";", false, {{"1", "uno\r\n\r\ndue", "3"}}, ""},
      {"1;\" uno\r\ndue \";\" 3 \"\r\n", ";", true, {{"1", "uno due", "3"}}, ""},
      {"a||\"b||c\"||\n", "||", false, {{"a", "b||c", ""}}, ""},
      {"citt\xE0;perch\xE8\r\n", ";", false, {{"città", "perchè"}}, ""},
      {"\xEF\xBB\xBF"
       "città;è\n",
       ";",
       false,
       {{"città", "è"}},
       ""},
      // Malformed: the line where the field starts and the field's position.
      {"ok;1\n2;\"x\"y;3\n", ";", false, {{"ok", "1"}}, "Formato errato Riga: 2, Colonna: 2"},
      {"a\nb;\"c\nd\" ;e\n", ";", false, {{"a"}}, "Formato errato Riga: 2, Colonna: 2"},
      {"a;b\n\"x;y\nz\n", ";", false, {{"a", "b"}}, "Formato errato Riga: 2, Colonna: 1"},
      {"\"a\nb\";\"c\"d\n", ";", false, {}, "Formato errato Riga: 2, Colonna: 2"},
  };
  for (const auto& c : casi) {
    clsCSV csv;
    csv.RemoveCRLF = c.remove_crlf;
    csv.Init(Scrivi(c.contenuto), c.separatore);
    EXPECT_EQ(csv.Records(), c.atteso) << c.contenuto;
    EXPECT_EQ(csv.LastError(), c.errore) << c.contenuto;
  }
}

TEST_F(clsCSVTest, MissingFileAndInitAgain) {
  clsCSV csv;
  csv.Init(Scrivi("a;b\n"));
  EXPECT_EQ(csv.Records(), (Records{{"a", "b"}}));
  const std::string manca = (cartella_.Path() / "manca.csv").string();
  csv.Init(manca);
  EXPECT_TRUE(csv.Records().empty());
  EXPECT_EQ(csv.LastError(), "File non trovato: " + manca);
}

TEST_F(clsCSVTest, ToCSVAndBack) {
  struct Caso {
    clsCSV::Record record;
    std::string separatore, racchiuso_da, atteso;
  };
  const Caso casi[] = {
      {{"a", "b"}, "", "", "a;b"},
      {{"a", "", "c"}, ",", "\"", "\"a\",,\"c\""},
      {{"say \"hi\"", "x\r\ny", "p\rq\n"}, ";", "", "say \"\"hi\"\";x\ny;p\rq\n"},
      {{}, ";", "'", ""},
  };
  clsCSV csv;
  for (const auto& c : casi) {
    EXPECT_EQ(csv.ToCSV(c.record, c.separatore, c.racchiuso_da), c.atteso);
  }
  csv.Init("x.csv", "|");
  EXPECT_EQ(csv.ToCSV({"a", "b"}), "a|b");

  const clsCSV::Record record = {"1", "a|b", "say \"hi\"", "riga\r\ndue", "", "città"};
  const std::string linea = csv.ToCSV(record, {}, "\"");
  csv.Init(Scrivi(linea + "\r\n" + linea), "|");
  EXPECT_EQ(csv.Records(), (Records{record, record}));
  EXPECT_EQ(csv.LastError(), "");
}

}  // namespace
}  // namespace qzkiro::util
