#include "flows/pdta/SelezioniPDTA.h"

#include <gtest/gtest.h>

#include <string>

namespace qzkiro::pdta {
namespace {

// The dates a statement compares `data` with: "BETWEEN 'a' AND 'b'".
std::pair<std::string, std::string> Finestra(const std::string& sql) {
  const std::string tra = "(data BETWEEN '";
  const auto at = sql.find(tra);
  if (at == std::string::npos) return {};
  const auto inizio = at + tra.size();
  const auto fine = sql.find("' AND '", inizio);
  const auto chiusa = sql.find("')", fine);
  return {sql.substr(inizio, fine - inizio), sql.substr(fine + 7, chiusa - fine - 7)};
}

TEST(SelezioniPDTATest, WindowsStartYearsBeforeThePeriodAndEndWithIt) {
  const Periodo p{2025};
  struct Caso {
    Selezione selezione;
    const char* dal;
  };
  const Caso casi[] = {
      {Selezione::VaccinoInfluenza, "2025-01-01 00:00:00"},
      {Selezione::Mammografia, "2024-01-01 00:00:00"},
      {Selezione::SangueOccultoFeci, "2024-01-01 00:00:00"},
      {Selezione::PapTest, "2022-01-01 00:00:00"},
      {Selezione::HpvPapTest, "2020-01-01 00:00:00"},
      {Selezione::TerapiaAnticoagulante, "2025-01-01 00:00:00"},
      {Selezione::VisitaINR, "2025-01-01 00:00:00"},
      {Selezione::EmoglobinaGlicata, "2025-01-01 00:00:00"},
  };
  for (const auto& c : casi) {
    const std::string sql = SqlSelezione("medico01", c.selezione, p);
    EXPECT_EQ(sql.rfind("SELECT DISTINCT idpaziente FROM medico01.tblworkspace WHERE "
                        "(IDPartizione<=30) AND ",
                        0),
              0u)
        << sql;
    EXPECT_EQ(Finestra(sql), std::make_pair(std::string(c.dal), std::string("2025-12-31 23:59:59")))
        << sql;
  }
}

TEST(SelezioniPDTATest, EnrolmentsAreThoseOpenAtSomeMomentOfThePeriod) {
  const Periodo p{2025};
  for (Selezione s : {Selezione::ArruolatiTAO, Selezione::ArruolatiDiabete}) {
    const std::string sql = SqlSelezione("medico01", s, p);
    EXPECT_TRUE(Finestra(sql).first.empty()) << sql;
    EXPECT_NE(sql.find("((data IS NULL) OR (data <= '2025-12-31 23:59:59'))"), std::string::npos);
    EXPECT_NE(sql.find("((d1 IS NULL) OR (d1 >= '2025-01-01 00:00:00'))"), std::string::npos);
  }
  EXPECT_EQ(SqlArruolati("medico01", "Diabete", p),
            SqlSelezione("medico01", Selezione::ArruolatiDiabete, p));
  // A pathway's name never closes the statement's quotes.
  EXPECT_NE(SqlArruolati("s", "Dell'anca", p).find("'%Dell''anca%'"), std::string::npos);
}

}  // namespace
}  // namespace qzkiro::pdta
