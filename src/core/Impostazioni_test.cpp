#include "core/Impostazioni.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "qzkiro/Plugin.h"
#include "support/AmbientePlugin.h"

namespace qzkiro::core {
namespace {

using testsupport::AmbientePlugin;

constexpr const char* kConfigTest = R"(<config>
  <client>
    <iap>https://idp/client</iap>
    <invioprescritto>https://mef/client</invioprescritto>
    <certificato>cert\idp.pem</certificato>
    <certificatoSarCF>sar.pem</certificatoSarCF>
  </client>
  <test>
    <iap></iap>
    <invioprescritto>https://mef/test</invioprescritto>
    <certificatotls>tls\client.p12</certificatotls>
    <passwordtls>segreta</passwordtls>
    <applicationid>urn:uuid:prova</applicationid>
  </test>
  <services>
    <service id="QZ02001"/><service id="QZ04020"/><service id="QZ04020"/>
  </services>
</config>)";

class ImpostazioniTest : public ::testing::Test {
 protected:
  bool Init(const std::string& xml = {}) {
    config_ = env_.Config(xml);
    auto app = env_.App();
    std::string log_dir;
    return plugin_.Init(app, config_, log_dir);
  }
  std::vector<std::string> NomiScritti() {
    std::vector<std::string> nomi;
    for (const auto& [nome, valore] : env_.Host()->ScrittureSetup()) nomi.push_back(nome);
    return nomi;
  }
  std::string InPlugin(const std::string& relativo) {
    return (env_.CartellaPlugin().Path() / relativo).string();
  }

  AmbientePlugin env_;
  qzkiro::Plugin plugin_;
  std::shared_ptr<host::IConfigXML> config_;
  const PluginSettings& s_ = env_.Contesto().settings;
};

TEST_F(ImpostazioniTest, OnlyTheTextOneTurnsAFlagOn) {
  auto& items = env_.Host()->Utente().Items();
  items.SetItem("KIRO.Debug", "true");
  items.SetItem("KIRO.Disattivato", "1");
  items.SetItem("KIRO.NoStampaDema", "1");
  items.SetItem("KIRO.EmailConsenso", " 1");
  items.SetItem("KIRO.CodiceStruttura", "050101");
  ASSERT_TRUE(Init());
  EXPECT_FALSE(s_.debug);
  EXPECT_TRUE(s_.disattivato);
  EXPECT_TRUE(s_.no_stampa_dema);
  EXPECT_FALSE(s_.email_consenso);
  EXPECT_EQ(s_.codice_struttura, "050101");
  EXPECT_EQ(env_.Host()->Setup("Dematerializzazione"), host::Variant(false));
  EXPECT_EQ(env_.Host()->Setup("InfoDema").ToText(), "KIRO,KIRO.Disattivato,1");
}

TEST_F(ImpostazioniTest, EndpointsCertificatesAndTestOverrides) {
  ASSERT_TRUE(Init(kConfigTest));
  EXPECT_EQ(s_.Endpoint("iap"), "https://idp/client") << "an empty test value keeps the client one";
  EXPECT_EQ(s_.Endpoint("invioprescritto"), "https://mef/test");
  EXPECT_EQ(s_.Endpoint("registryreg"), "");
  EXPECT_EQ(s_.certificato, InPlugin("cert/idp.pem"));
  EXPECT_EQ(s_.certificato_sar_cf, InPlugin("sar.pem"));
  EXPECT_EQ(s_.certificato_tls, InPlugin("tls/client.p12"));
  EXPECT_EQ(s_.password_tls, "segreta");
  EXPECT_EQ(s_.application_id, "urn:uuid:prova");
  EXPECT_EQ(s_.endpoint_mfa, "");
  EXPECT_EQ(s_.endpoint_ora, "http://www.inrim.it") << "the national reference by default";

  ASSERT_TRUE(Init());  // the sample configuration document
  EXPECT_EQ(s_.endpoint_mfa, "https://127.0.0.1:9443/mfa");
  EXPECT_EQ(s_.endpoint_mfa_test, "https://127.0.0.1:9443/mfa-test");
}

TEST_F(ImpostazioniTest, PilotListKeepsOrRenamesThePatientSummaryService) {
  auto ids = [&] {
    std::vector<std::string> out;
    for (auto& node : config_->rootNode()->SelectNodes("services/service")) {
      out.push_back(node->GetAttribute("id"));
    }
    return out;
  };
  env_.Host()->Utente().SetCodiceFiscale("RSSMRA70A01L736S");  // listed
  ASSERT_TRUE(Init(kConfigTest));
  EXPECT_EQ(ids(), (std::vector<std::string>{"QZ02001", "QZ04020", "QZ04020"}));

  env_.Host()->Utente().SetCodiceFiscale("XXXYYY00A01H501Z");
  ASSERT_TRUE(Init(kConfigTest));
  EXPECT_EQ(ids(), (std::vector<std::string>{"QZ02001", "_QZ04020", "QZ04020"}));

  EXPECT_EQ(ListaPilota().size(), 25u);
}

TEST_F(ImpostazioniTest, ExtendedVaccinationFromTheDayAfterTheTenthOfOctober2019) {
  struct Caso {
    util::DataOra oggi;
    std::int64_t atteso;
  } casi[] = {{{2019, 10, 10, 23, 59, 59}, 1},
              {{2019, 10, 11, 0, 0, 0}, 2},
              {{2018, 12, 31, 12, 0, 0}, 1},
              {{2026, 1, 1, 8, 0, 0}, 2}};
  for (const auto& caso : casi) {
    env_.Orologio().Imposta(caso.oggi);
    ASSERT_TRUE(Init());
    auto valore = env_.Host()->Setup("VaccinazioneEstesa");
    EXPECT_TRUE(valore.IsInteger());
    EXPECT_EQ(valore.ToInteger(), caso.atteso) << caso.oggi.Formato("yyyy-mm-dd");
  }
}

TEST_F(ImpostazioniTest, SetupValuesAreWrittenInTheirOrder) {
  env_.Host()->Utente().SetCodiceRegioneASL("050507");
  env_.CartellaPlugin().Scrivi("FSEr - Informativa_versione aprile 2016.pdf", "%PDF-1.4");
  ASSERT_TRUE(Init());
  // clang-format off
  const std::vector<std::string> attesi = {
      "Dematerializzazione", "DematFarmaci", "DematEsami", "DematSAR", "RicettaElettronica", "NRE",
      "NascondiRicettaElettronicaMEF", "NascondiDematerializzata", "StampaDemaSuSSN",
      "ModuloPromemoria", "StampaCodicePacchetto", "StampaCodicePrescrizione",
      "NascondiRicettaElettronica", "NascondiNRE", "DiagnosiVisitaObbligatoria",
      "DiagnosiEsameObbligatoria", "DemaSoloCodPresRegionale", "PrescVisiteEditabile",
      "PrioritaDemaUBDP", "NoPrelievi", "NRERicoveri", "InfoDema", "FlussoACN", "FlussoPA",
      "MEFVisualizzaRicetta", "VaccinazioneEstesa", "TipoAssistenzaADIADP", "PrioritaEsamiU",
      "Branche", "ProcessoCollegato", "MostraOscuramentoClinico", "InviaVaccinazioni",
      "PrelieviEmaticiDom", "MostraCodicePPIP", "ConsensoFSE"};
  // clang-format on
  EXPECT_EQ(NomiScritti(), attesi);
  auto& h = *env_.Host();
  EXPECT_EQ(h.Setup("StampaDemaSuSSN"), host::Variant(false));
  EXPECT_EQ(h.Setup("ModuloPromemoria").ToText(), "RicettaPromemoria_050B");
  EXPECT_EQ(h.Setup("FlussoPA").ToText(), "050.KIRO");
  EXPECT_EQ(h.Setup("PrelieviEmaticiDom").ToText(), "Richiesta prelievo ematico dom.");
  EXPECT_EQ(h.Setup("ConsensoFSE").ToText(), "Consenso FSEr Veneto");
  EXPECT_EQ(h.Setup("MostraCodicePPIP").ToInteger(), 3);

  env_.RicreaHost();  // the sample user's unit is "050503"
  ASSERT_TRUE(Init());
  auto nomi = NomiScritti();
  EXPECT_EQ(std::count(nomi.begin(), nomi.end(), "PrelieviEmaticiDom"), 0);
}

TEST_F(ImpostazioniTest, ProxyValuesComeFromTheHostSetup) {
  auto& h = *env_.Host();
  h.SetSetup("ProxyHost", "proxy.asl.local");
  h.SetSetup("ProxyPort", "3128");
  h.SetSetup("ProxyUsername", "mario");
  h.SetSetup("ProxyPassword", "p@ss");
  ASSERT_TRUE(Init());
  EXPECT_EQ(s_.proxy_host, "proxy.asl.local");
  EXPECT_EQ(s_.proxy_port, 3128);
  EXPECT_EQ(s_.proxy_username, "mario");
  EXPECT_EQ(s_.proxy_password, "p@ss");
}

}  // namespace
}  // namespace qzkiro::core
