#include "refhost/Framework.h"

#include <gtest/gtest.h>

#include "qzkiro/Failure.h"
#include "refhost/Input.h"
#include "sandbox/server/CartellaTemporanea.h"

namespace qzkiro::refhost {
namespace {

TEST(FrameworkTest, FiscalCodesNeedTheirLayoutAndCheckCharacter) {
  Framework f;
  for (const char* valido : {"RSSMRA45M41L736K", "BRNSFO15H55L736M", "RSSMRA45M41L7RND",
                             "12345678903"}) {
    EXPECT_TRUE(f.VerificaCodiceFiscale(valido)) << valido;
  }
  for (const char* errato : {"RSSMRA45M41L736Q",    // wrong check character
                             "RSSMRA45F41L736K",    // F is no month
                             "RSSMRA45M41L73AK",    // A is no digit of a homonymy
                             "rssmra45m41l736k",    // lower case
                             "RSSMRA45M41L736", "12345678901", ""}) {
    EXPECT_FALSE(f.VerificaCodiceFiscale(errato)) << errato;
  }
  f.SetOggi("20261207");
  EXPECT_EQ(f.CalcolaEta("20081207"), 18);
  EXPECT_EQ(f.CalcolaEta("20081208"), 17) << "the day before the birthday";
  EXPECT_EQ(f.CalcolaEta("2008-12-07"), 0);
}

TEST(FrameworkTest, EncryptIsReversibleOnlyUnderTheSameKey) {
  Framework framework;
  for (const std::string& testo :
       std::vector<std::string>{"", "utente:pässwörd;€", std::string(5000, 'x')}) {
    auto cifrato = framework.Encrypt(testo, "KIRO.IAP");
    EXPECT_EQ(cifrato.find(testo.empty() ? "\x01" : testo), std::string::npos);
    EXPECT_EQ(framework.Decrypt(cifrato, "KIRO.IAP"), testo);
    EXPECT_THROW(framework.Decrypt(cifrato, "altra chiave"), Failure);
  }
  EXPECT_NE(framework.Encrypt("a", "k"), framework.Encrypt("a", "k")) << "fresh nonce each time";
  EXPECT_THROW(framework.Decrypt("non base64!", "k"), Failure);
  EXPECT_THROW(framework.Decrypt("QUJD", "k"), Failure);
}

TEST(FrameworkTest, ResultContainerRecordsCallsAndRecords) {
  Framework framework;
  auto input = framework.NewInput();
  auto paziente = input->Add("AddPaziente", {});
  input->Add("AddAnagrafica", {paziente, "20261206", "BNCGLI80A41L736C", 3, true, host::Variant()});
  auto secondo = input->Add("AddPaziente", {});
  input->Add("AddRefertoParziale", {secondo, "DOC.9", "QZ02005"});
  ASSERT_EQ(framework.Inputs().size(), 1u);
  EXPECT_EQ(framework.Inputs()[0]->ToJson(), nlohmann::json::parse(R"([
    {"member": "AddPaziente", "args": [], "record": 1},
    {"member": "AddAnagrafica", "args": [{"record": 1}, "20261206", "BNCGLI80A41L736C", 3, true, null]},
    {"member": "AddPaziente", "args": [], "record": 2},
    {"member": "AddRefertoParziale", "args": [{"record": 2}, "DOC.9", "QZ02005"]}
  ])"));
  // Records are XML nodes whose children show in the dump.
  secondo.As<host::IRecordXML>()->ImpostaFiglio("appuntiRTF", "PGh0bWw+");
  EXPECT_EQ(framework.Inputs()[0]->ToJson()[2]["children"]["appuntiRTF"], "PGh0bWw+");
  EXPECT_EQ(framework.Inputs()[0]->Record(2)->Figlio("appuntiRTF"), "PGh0bWw+");
  EXPECT_EQ(framework.Inputs()[0]->Record(1)->Figlio("appuntiRTF"), "");
}

TEST(FrameworkTest, TemplateFillsEntriesEscapedAndFailsOnMissingFile) {
  sandbox::CartellaTemporanea cartella;
  auto file =
      cartella.Scrivi("SARR.mt1", "<QRD>{{Parametro.Referto.ID}}</QRD><X>{{Assente}}</X>{{");
  Framework framework;
  auto modello = framework.newTemplate(file.string(), {});
  modello->Add("Parametro.Referto.ID", "A&B <1>");
  EXPECT_EQ(modello->Template(), "<QRD>A&amp;B &lt;1&gt;</QRD><X></X>{{");

  // The host's own entries: a new message id each time, unless one was added.
  auto richiesta = framework.newTemplate(
      cartella.Scrivi("SAIN.mt1", "{{Modello.IDMessaggio}}|{{Modello.DataOra}}").string(), {});
  const std::string primo = richiesta->Template();
  EXPECT_NE(primo, richiesta->Template());
  EXPECT_EQ(primo.find('|'), primo.size() - 15) << primo;
  richiesta->Add("Modello.IDMessaggio", "M1");
  EXPECT_TRUE(richiesta->Template().starts_with("M1|"));
  EXPECT_THROW(framework.newTemplate((cartella.Path() / "manca.mt1").string(), {}), Failure);
}

}  // namespace
}  // namespace qzkiro::refhost
