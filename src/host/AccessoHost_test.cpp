#include "host/AccessoHost.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "qzkiro/Failure.h"
#include "support/AmbientePlugin.h"

namespace qzkiro::host {
namespace {

// An access over the stand-in host at a fixed time, as a reader's test
// hands one in.
class AccessoProva : public AccessoHost {
 public:
  explicit AccessoProva(IApplication* app) : app_(app) {}
  IApplication* Applicazione() const override { return app_; }
  util::DataOra Adesso() const override { return {2026, 12, 6, 10, 30, 0}; }

 private:
  IApplication* app_;
};

TEST(AccessoHostTest, WithoutAHostNumbersFollowTheHostRule) {
  const auto accesso = AccessoHost::SenzaHost();
  const std::vector<std::pair<std::string, double>> casi = {
      {"12", 12}, {" 3,5 ", 3.5}, {"<5", 5},  {">= 10", 10}, {"-2.25", -2.25},
      {"+1", 1},  {"12 mg", 0},   {"abc", 0}, {"", 0},       {"1,2,3", 0},
      {"<", 0},   {"+", 0},       {"inf", 0}, {"1e400", 0}};
  for (const auto& [testo, numero] : casi) {
    EXPECT_DOUBLE_EQ(accesso->ValoreNumero(testo), numero) << testo;
  }
}

TEST(AccessoHostTest, WithoutAHostTextsStayAndBase64IsLatin1) {
  const auto accesso = AccessoHost::SenzaHost();
  EXPECT_EQ(accesso->ValoreData("20261205"), "20261205");
  EXPECT_EQ(accesso->CodificaBase64("è"), "6A==");
  EXPECT_EQ(accesso->CodificaBase64(""), "");
  EXPECT_EQ(accesso->CodificaBase64Host("è"), std::nullopt);
  EXPECT_EQ(accesso->SenzaEntita("<a & b>"), "&lt;a &amp; b&gt;");
  EXPECT_EQ(accesso->DescrizioneVisita("201"), "");
  EXPECT_EQ(accesso->NuovoMime(), nullptr);
  EXPECT_EQ(accesso->Millisecondi(), "");
  EXPECT_TRUE(accesso->TimbroFile().ends_with("000"));
  EXPECT_THROW(accesso->App(), Failure);
}

TEST(AccessoHostTest, AHostAnswersWithItsOwnFormsAndItsMilliseconds) {
  testsupport::AmbientePlugin env;
  const AccessoProva accesso(env.App().get());
  EXPECT_EQ(accesso.ValoreData("20261205"), env.App()->Framework().ValoreData("20261205"));
  EXPECT_EQ(accesso.CodificaBase64Host("è"), "6A==");
  EXPECT_EQ(accesso.Millisecondi().size(), 3u);
  const std::string timbro = accesso.TimbroFile();
  EXPECT_EQ(timbro.substr(0, 14), "20261206103000");
  ASSERT_EQ(timbro.size(), 17u);
  EXPECT_EQ(timbro.substr(14).find_first_not_of("0123456789"), std::string::npos) << timbro;
  EXPECT_NO_THROW(accesso.App());
}

}  // namespace
}  // namespace qzkiro::host
