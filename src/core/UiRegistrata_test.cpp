#include "core/UiRegistrata.h"

#include <gtest/gtest.h>

#include <string>

namespace qzkiro::core {
namespace {

TEST(UiRegistrataTest, TheBuiltInFaceKeepsTheLastHundredOfEachKindTheScriptedOneAll) {
  UiRegistrata predefinita;
  UiRegistrata scriptata(UiRegistrata::Modo::Scriptata);
  for (int i = 0; i < 250; ++i) {
    const std::string testo = "Messaggio " + std::to_string(i);
    EXPECT_EQ(predefinita.MsgBox(testo, stile::kSiNo, "KIRO"), risposta::kSi);
    scriptata.MsgBox(testo, stile::kOK, "KIRO");
    predefinita.EsitoInvioFSE({testo});
  }
  ASSERT_EQ(predefinita.Mostrati().size(), 100u);
  EXPECT_EQ(predefinita.Mostrati().front().testo, "Messaggio 150");
  EXPECT_EQ(predefinita.Mostrati().back().testo, "Messaggio 249");
  ASSERT_EQ(predefinita.EsitiMostrati().size(), 100u);
  EXPECT_EQ(predefinita.EsitiMostrati().back(), std::vector<std::string>{"Messaggio 249"});
  EXPECT_EQ(scriptata.Mostrati().size(), 250u);
}

}  // namespace
}  // namespace qzkiro::core
