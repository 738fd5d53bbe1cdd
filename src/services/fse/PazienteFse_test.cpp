#include "services/fse/PazienteFse.h"

#include <gtest/gtest.h>

#include <memory>

#include "refhost/Oggetti.h"

namespace qzkiro::fse {
namespace {

TEST(PazienteFseTest, ParametersAreItemValuesAndDatesBecomeYyyymmdd) {
  host::Collection p;
  auto voce = std::make_shared<refhost::Membri>();
  voce->Imposta("Value", host::Variant("11502-2"));
  p.Add(host::Variant(voce), "Parametro.TipoDoc");
  p.Add(host::Variant("Testo"), "Semplice");
  const std::pair<const char*, const char*> date[] = {
      {"20260105", "20260105"},   {"2026-01-05", "20260105"}, {"05/01/2026", "20260105"},
      {"2026010", ""},            {"2026x105", ""},           {"31/02/2026", ""},
      {"05/01/2026 10:30:00", "20260105"}};
  for (const auto& [testo, attesa] : date) p.Add(host::Variant(testo), testo);

  EXPECT_EQ(Parametro(p, "Parametro.TipoDoc"), "11502-2");
  EXPECT_EQ(Parametro(p, "Semplice"), "Testo");
  EXPECT_EQ(Parametro(p, "Assente"), "");
  for (const auto& [testo, attesa] : date) EXPECT_EQ(DataParametro(p, testo), attesa) << testo;
  EXPECT_EQ(DataParametro(p, "Assente"), "");
}

}  // namespace
}  // namespace qzkiro::fse
