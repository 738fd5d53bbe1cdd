#include "flows/pdta/StiliPDTA.h"

#include <gtest/gtest.h>

namespace qzkiro::pdta {
namespace {

TEST(StiliPDTATest, EachPathwayCountsItsEnrolledAmongTheDoctorsPatientsOf14AndOver) {
  const std::vector<host::VoceAssistito> assistiti = {
      {"1", "A", "M", "19500101"},
      {"2", "B", "F", "20120101"},  // 2 is 13 in 2025
      {"3", "C", "F", "19800101"},
      {"4", "D", "M", "20110101"},  // 4 is 14
  };
  const std::vector<std::set<std::string>> trovati = {
      {"1", "2", "3"}, {"4", "9"}, {}, {"3"}, {"1", "3", "4"}};
  const auto conteggi = ContaPercorsi(assistiti, 2025, trovati);
  ASSERT_EQ(conteggi.size(), PercorsiStili().size());
  const std::vector<std::pair<std::string, long>> attesi = {
      {"Stili di vita:", 2}, {"Diabete:", 1}, {"BPCO:", 0}, {"Scompenso:", 1}, {"TAO:", 3}};
  for (std::size_t i = 0; i < attesi.size(); ++i) {
    EXPECT_EQ(conteggi[i].etichetta, attesi[i].first);
    EXPECT_EQ(conteggi[i].arruolati, attesi[i].second) << attesi[i].first;
  }
}

TEST(StiliPDTATest, TheFileReadsBackIntoTheGridsRowsAndNamesTheDoctor) {
  const auto testo = FileStili("2026-02-01", 2025, {"RSSMRA70A01L736S", "ROSSI", "MARIO"},
                               {{"STILI", "Stili di vita:", 4}, {"TAO", "TAO:", 1}});
  const auto righe = LeggiFileStili(testo);
  ASSERT_TRUE(righe);
  EXPECT_EQ(*righe, (std::vector<std::pair<std::string, std::string>>{{"Stili di vita:", "4"},
                                                                      {"TAO:", "1"}}));
  EXPECT_NE(testo.find("<data_inizio_periodo>2025-01-01</data_inizio_periodo>"), std::string::npos);
  EXPECT_NE(testo.find("<CF_medico>RSSMRA70A01L736S</CF_medico>"), std::string::npos);
  // The indicator file of the other unit is not this file.
  EXPECT_FALSE(LeggiFileStili(FilePDTA("2026-02-01", 2025, {}, {})));
  EXPECT_EQ(NomeFileStili("rssmra70a01l736s"), "RSSMRA70A01L736S_PDTA_AULSS507.xml");
}

}  // namespace
}  // namespace qzkiro::pdta
