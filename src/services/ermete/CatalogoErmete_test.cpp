#include "services/ermete/CatalogoErmete.h"

#include <gtest/gtest.h>

#include "sandbox/server/CartellaTemporanea.h"

namespace qzkiro::ermete {
namespace {

using Records = std::vector<util::clsCSV::Record>;

const util::clsCSV::Record kIntestazione{"ID",   "Descrizione", "CodiceTR",     "Indirizzo", "Bibl",
                                         "Note", "Versione",    "DataVersione", "CodiceIP"};

util::clsCSV::Record Voce(const std::string& id, const std::string& data) {
  return {id,       "Nota 13 dislipidemie",
          "TR01",   "https://ermete.example/ip/" + id,
          "",       "",
          "2.1",    data,
          "IP" + id};
}

TEST(CatalogoErmeteTest, EachRecordAfterTheHeaderIsAnIndicationInFileOrder) {
  const CatalogoErmete c =
      LeggiCatalogoErmete({kIntestazione, Voce("A1", "31/12/2025"), Voce("A2", ""),
                           Voce("A3", "2026-02-01 08:30:00"), Voce("A4", "05/03/2026 14:07")});
  ASSERT_EQ(c.errore, "");
  ASSERT_EQ(c.righe.size(), 4u);
  EXPECT_EQ(c.righe[0],
            (RigaErmete{"A1", "Nota 13 dislipidemie", "TR01", "https://ermete.example/ip/A1", "",
                        "", "2.1", "2025-12-31 00:00:00", "IPA1"}));
  EXPECT_EQ(c.righe[1][kColonnaData], "") << "no date is NULL";
  EXPECT_EQ(c.righe[2][kColonnaData], "2026-02-01 08:30:00");
  EXPECT_EQ(c.righe[3][kColonnaData], "2026-03-05 14:07:00");
}

TEST(CatalogoErmeteTest, AFaultyRecordLeavesNoRowsAndSaysWhere) {
  auto corta = Voce("B2", "");
  corta.pop_back();
  auto lunga = Voce("B2", "");
  lunga.push_back("in più");
  // clang-format off
  const struct { const char* caso; Records records; const char* errore; } casi[] = {
      {"no header", {}, "IP_KR.csv è vuoto: manca anche l'intestazione"},
      {"a header of another file", {{"ID", "Descrizione"}, Voce("B1", "")},
       "IP_KR.csv: l'intestazione ha 2 colonne invece di 9"},
      {"a column less", {kIntestazione, Voce("B1", ""), corta},
       "IP_KR.csv, record 3: 8 colonne invece di 9"},
      {"a column more", {kIntestazione, lunga}, "IP_KR.csv, record 2: 10 colonne invece di 9"},
      {"no id", {kIntestazione, Voce(" ", "")}, "IP_KR.csv, record 2: identificativo mancante"},
      {"an id the table cannot hold", {kIntestazione, Voce(std::string(51, 'X'), "")},
       "IP_KR.csv, record 2: identificativo più lungo di 50 caratteri"},
      {"the same id twice", {kIntestazione, Voce("B1", ""), Voce("B2", ""), Voce("B1", "")},
       "IP_KR.csv, record 4: identificativo 'B1' ripetuto"},
      {"a date that is none", {kIntestazione, Voce("B1", "31/02/2026")},
       "IP_KR.csv, record 2: data di versione non valida '31/02/2026'"},
      {"a date in words", {kIntestazione, Voce("B1", "marzo 2026")},
       "IP_KR.csv, record 2: data di versione non valida 'marzo 2026'"},
  };
  // clang-format on
  for (const auto& c : casi) {
    const CatalogoErmete letto = LeggiCatalogoErmete(c.records);
    EXPECT_EQ(letto.errore, c.errore) << c.caso;
    EXPECT_TRUE(letto.righe.empty()) << c.caso;
  }
  EXPECT_EQ(LeggiCatalogoErmete({kIntestazione, Voce(std::string(50, 'X'), "")}).errore, "")
      << "50 characters fit";
  EXPECT_TRUE(LeggiCatalogoErmete({kIntestazione}).righe.empty()) << "a header alone is no fault";
}

TEST(CatalogoErmeteTest, TheFileReadWithSemicolonsAndQuotes) {
  sandbox::CartellaTemporanea cartella;
  const auto file = cartella.Scrivi(
      "IP_KR.csv",
      "ID;Descrizione;CodiceTR;Indirizzo;Bibliografia;Note;Versione;DataVersione;CodiceIP\r\n"
      "E01;\"Ipercolesterolemia; familiare\";TR7;;\"Linee guida \"\"ESC\"\" 2019\";\"prima riga\r\n"
      "seconda riga\";3;01/06/2024;IP07\r\n"
      "E02;Psoriasi;TR8;;;;1;;IP08\r\n");
  util::clsCSV csv;
  csv.Init(file.string(), ";");
  const CatalogoErmete c = LeggiCatalogoErmete(csv.Records());
  ASSERT_EQ(csv.LastError(), "");
  ASSERT_EQ(c.errore, "");
  ASSERT_EQ(c.righe.size(), 2u);
  EXPECT_EQ(c.righe[0], (RigaErmete{"E01", "Ipercolesterolemia; familiare", "TR7", "",
                                    "Linee guida \"ESC\" 2019", "prima riga\r\nseconda riga", "3",
                                    "2024-06-01 00:00:00", "IP07"}));
  EXPECT_EQ(c.righe[1][0], "E02");
}

}  // namespace
}  // namespace qzkiro::ermete
