#include "services/ricette/ClienteDem.h"

#include <gtest/gtest.h>

#include "core/Cartelle.h"
#include "support/AmbientePlugin.h"

namespace qzkiro::services {
namespace {

TEST(ClienteDemTest, TheProductionCertificateUnlessTheTestConfigurationNamesOne) {
  testsupport::AmbientePlugin env;
  auto& s = env.Contesto().settings;
  EXPECT_EQ(CertificatoDem(), core::PercorsoPlugin("\\Dema_Telvora_Curalis_prod.p12"));
  EXPECT_EQ(PasswordCertificatoDem(), "Dema.Curalis.2026") << "deciphered under the maker's name";
  s.certificato_tls = "/cert/prova.p12";
  s.password_tls = "prova";
  EXPECT_EQ(CertificatoDem(), "/cert/prova.p12");
  EXPECT_EQ(PasswordCertificatoDem(), "prova");
  EXPECT_EQ(CifraFse("RSSMRA70A01L736U"), "") << "no fse.cer in the add-on's folder";
}

TEST(ClienteDemTest, FixedTextRequestsEscapeTheirValuesAndFaultsGiveTheServiceWords) {
  const std::string busta =
      BustaTesto("vis", "urn:v", "<vis:R>" + ElementoTesto("vis:nre", "a<b&c") + "</vis:R>");
  EXPECT_NE(busta.find("xmlns:vis=\"urn:v\""), std::string::npos);
  EXPECT_NE(busta.find("<wsse:Security>[Asserzione]</wsse:Security>"), std::string::npos);
  EXPECT_NE(busta.find("<vis:nre>a&lt;b&amp;c</vis:nre>"), std::string::npos);
  EXPECT_EQ(TestoFault({false, false,
                        "<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\"><s:Body>"
                        "<s:Fault><faultstring>NRE errato</faultstring></s:Fault></s:Body>"
                        "</s:Envelope>",
                        "Errore di comunicazione 500"}),
            "NRE errato");
  EXPECT_EQ(TestoFault({false, false, "<html>", "Errore di comunicazione 502"}),
            "Errore di comunicazione 502");
  EXPECT_EQ(TestoFault({}), "Errore sconosciuto");
}

}  // namespace
}  // namespace qzkiro::services
