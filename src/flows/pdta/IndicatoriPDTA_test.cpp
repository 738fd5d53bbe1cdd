#include "flows/pdta/IndicatoriPDTA.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qzkiro::pdta {
namespace {

using host::VoceAssistito;

TEST(EtaAnnualeTest, CountsTheYearOfBirthOnlyAndRefusesWhatIsNoDate) {
  struct Caso {
    const char* nascita;
    int anno;
    int eta;
  };
  const Caso casi[] = {
      {"19600101", 2025, 65},   {"19601231", 2025, 65},  // the birthday's day does not matter
      {"19610101", 2025, 64},   {"20251231", 2025, 0},  {"20260101", 2025, -1},
      {"1960-01-01", 2025, -1}, {"", 2025, -1},         {"1960010A", 2025, -1},
  };
  for (const auto& c : casi) EXPECT_EQ(EtaAnnuale(c.nascita, c.anno), c.eta) << c.nascita;
}

TEST(PopolazioneTest, AgeLimitsAreIncludedOnBothSidesAndSexCountsWhereAsked) {
  struct Caso {
    Popolazione popolazione;
    const char* sesso;
    int eta;
    bool dentro;
  };
  const Caso casi[] = {
      {Popolazione::Over65, "M", 64, false},     {Popolazione::Over65, "M", 65, true},
      {Popolazione::Over65, "F", 99, true},      {Popolazione::Donne50_74, "F", 49, false},
      {Popolazione::Donne50_74, "F", 50, true},  {Popolazione::Donne50_74, "F", 74, true},
      {Popolazione::Donne50_74, "F", 75, false}, {Popolazione::Donne50_74, "M", 60, false},
      {Popolazione::Eta50_69, "M", 49, false},   {Popolazione::Eta50_69, "M", 50, true},
      {Popolazione::Eta50_69, "F", 69, true},    {Popolazione::Eta50_69, "M", 70, false},
      {Popolazione::Donne25_29, "F", 24, false}, {Popolazione::Donne25_29, "F", 25, true},
      {Popolazione::Donne25_29, "F", 29, true},  {Popolazione::Donne25_29, "F", 30, false},
      {Popolazione::Donne25_29, "M", 27, false}, {Popolazione::Donne30_64, "F", 29, false},
      {Popolazione::Donne30_64, "F", 30, true},  {Popolazione::Donne30_64, "F", 64, true},
      {Popolazione::Donne30_64, "F", 65, false}, {Popolazione::Donne30_64, " F ", 40, true},
      {Popolazione::Donne30_64, "", 40, false},  {Popolazione::Over14, "M", 13, false},
      {Popolazione::Over14, "M", 14, true},
  };
  for (const auto& c : casi) {
    const VoceAssistito a{"1", "X", c.sesso, std::to_string(2025 - c.eta) + "0615"};
    EXPECT_EQ(InPopolazione(c.popolazione, a, 2025), c.dentro)
        << static_cast<int>(c.popolazione) << " " << c.sesso << " " << c.eta;
  }
  EXPECT_FALSE(InPopolazione(Popolazione::Over14, {"1", "X", "M", "sconosciuta"}, 2025));
}

TEST(FormatoValoreTest, TwoIntegerDigitsAtLeastTwoDecimalsAndAPoint) {
  const std::pair<double, const char*> casi[] = {
      {0, "00.00"},    {5.5, "05.50"},   {33.333333, "33.33"}, {66.666666, "66.67"},
      {100, "100.00"}, {0.004, "00.00"}, {0.005, "00.01"},     {9.999, "10.00"},
  };
  for (const auto& [valore, testo] : casi) EXPECT_EQ(FormatoValore(valore), testo) << valore;
}

TEST(FormatoValoreTest, APercentageWithoutDenominatorIsZeroAndARegisterKeepsItsText) {
  EXPECT_EQ(TestoValore({"X", "x", 3, 0, std::nullopt}), "00.00");
  EXPECT_EQ(TestoValore({"X", "x", 1, 3, std::nullopt}), "33.33");
  EXPECT_EQ(TestoValore({"X", "x", 1, 3, std::string("AAA;BBB")}), "AAA;BBB");
}

// A small list: each patient named by what makes them count.
class CalcolaIndicatoriTest : public ::testing::Test {
 protected:
  static VoceAssistito P(const char* id, const char* sesso, int eta) {
    return {id, std::string("CF") + id, sesso, std::to_string(2025 - eta) + "0301"};
  }
  const std::vector<VoceAssistito> assistiti_ = {
      P("1", "M", 65),  // over 65, 50-69, over 14
      P("2", "F", 80),  // over 65, over 14
      P("3", "F", 50),  // women 50-74, 50-69, women 30-64
      P("4", "F", 27),  // women 25-29
      P("5", "F", 30),  // women 30-64
      P("6", "M", 13),  // nobody's population
      P("7", "M", 40),  // over 14 only
  };
  const ValoreIndicatore& Di(const std::vector<ValoreIndicatore>& v, const std::string& codice) {
    for (const auto& i : v) {
      if (i.codice == codice) return i;
    }
    static const ValoreIndicatore nessuno;
    ADD_FAILURE() << codice;
    return nessuno;
  }
};

TEST_F(CalcolaIndicatoriTest, NumeratorsCountOnlyThePopulationAndFollowTheFileOrder) {
  RisultatiSelezioni trovati = {
      {Selezione::VaccinoInfluenza, {"1", "6", "99"}},  // 6 is too young, 99 not the doctor's
      {Selezione::Mammografia, {"3", "4"}},
      {Selezione::PapTest, {"4", "5"}},     // 5 is 30: the three-year test is not hers
      {Selezione::HpvPapTest, {"4", "5"}},  // 4 is 27: the five-year test is not hers
      {Selezione::SangueOccultoFeci, {"1", "2"}},
      {Selezione::TerapiaAnticoagulante, {"7", "6"}},
      {Selezione::ArruolatiTAO, {"7", "2", "6"}},
      {Selezione::VisitaINR, {"7", "1"}},  // 1 is not enrolled
      {Selezione::ArruolatiDiabete, {"1"}},
      {Selezione::EmoglobinaGlicata, {}},
  };
  const auto v = CalcolaIndicatori(assistiti_, 2025, trovati);
  ASSERT_EQ(v.size(), Indicatori().size());
  for (std::size_t i = 0; i < v.size(); ++i) EXPECT_EQ(v[i].codice, Indicatori()[i].codice);

  struct Atteso {
    const char* codice;
    long numeratore, denominatore;
    const char* valore;
  };
  const Atteso attesi[] = {
      {"PREV10", 1, 2, "50.00"},  {"PREV11", 1, 1, "100.00"}, {"PREV12", 2, 3, "66.67"},
      {"PREV13", 1, 2, "50.00"},  {"TAO00", 1, 6, "16.67"},   {"TAO01", 2, 6, "33.33"},
      {"TAO02", 1, 2, "50.00"},   {"DIA01", 1, 6, "16.67"},   {"DIA02", 0, 1, "00.00"},
      {"TAO99", 2, 6, "CF2;CF7"}, {"DIA99", 1, 6, "CF1"},
  };
  for (const auto& a : attesi) {
    const auto& i = Di(v, a.codice);
    EXPECT_EQ(i.numeratore, a.numeratore) << a.codice;
    EXPECT_EQ(i.denominatore, a.denominatore) << a.codice;
    EXPECT_EQ(TestoValore(i), a.valore) << a.codice;
  }
}

TEST_F(CalcolaIndicatoriTest, WithNothingFoundEveryValueIsZeroAndRegistersAreEmpty) {
  const auto v = CalcolaIndicatori(assistiti_, 2025, {});
  for (const auto& i : v) {
    EXPECT_EQ(i.numeratore, 0) << i.codice;
    EXPECT_EQ(TestoValore(i), i.testo ? "" : "00.00") << i.codice;
  }
  EXPECT_EQ(Di(v, "PREV10").denominatore, 2);
  // A year later patient 6 turns 14 and patient 1's 65 becomes 66.
  const auto dopo = CalcolaIndicatori(assistiti_, 2026, {});
  EXPECT_EQ(Di(dopo, "TAO00").denominatore, 7);
  EXPECT_EQ(Di(dopo, "PREV13").denominatore, 2);  // 1 (66) and 3 (51)
}

}  // namespace
}  // namespace qzkiro::pdta
