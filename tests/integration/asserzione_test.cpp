// The identity service against the sandbox's identity provider.

#include <gtest/gtest.h>

#include <cstdlib>

#include "net/clsAsserzione.h"
#include "net/clsSOAP.h"
#include "sandbox/IdentityProvider.h"
#include "sandbox/Sandbox.h"
#include "support/AmbientePlugin.h"

namespace qzkiro::net {
namespace {

constexpr const char* kMedico = "RSSMRA70A01L736U";

class AsserzioneIdpTest : public ::testing::Test {
 protected:
  AsserzioneIdpTest() {
    setenv("QZKIRO_CA_BUNDLE", pki_.Ca().c_str(), 1);
    auto& s = env_.Contesto().settings;
    s.endpoint["iap"] = server_.Url("/iap");
    s.certificato = pki_.Idp().string();
    s.certificato_tls = pki_.ClientP12().string();
    s.password_tls = std::string(sandbox::Pki::kPassword);
    env_.Contesto().servizio_asserzione = servizio_;
    idp_.AggiungiUtente("mrossi", "Segreta.1");
    servizio_->Ricorda("mrossi", "Segreta.1", kMedico, kMedico);
  }
  ~AsserzioneIdpTest() override { unsetenv("QZKIRO_CA_BUNDLE"); }

  testsupport::AmbientePlugin env_;
  sandbox::Pki pki_ = sandbox::Pki::DellaCompilazione();
  sandbox::Sandbox server_{pki_};
  sandbox::IdentityProvider idp_{server_, pki_.ChiaveIdp()};
  std::shared_ptr<clsAsserzione> servizio_ = std::make_shared<clsAsserzione>();
};

TEST_F(AsserzioneIdpTest, OneLoginServesTheRequestsOfTheSameContext) {
  auto prima = servizio_->DaiAsserzione("demInvioPrescritto", "C.1.1", "", "", "", "");
  ASSERT_NE(prima, nullptr) << servizio_->LastError();
  EXPECT_TRUE(prima->Asserzione.starts_with("<saml:Assertion "));
  ASSERT_EQ(idp_.Richieste().size(), 1u);
  const auto richiesta = idp_.Richieste()[0];
  EXPECT_EQ(richiesta.password, "Segreta.1") << "decrypted with the provider's key";
  EXPECT_EQ(richiesta.nonce.size(), 24u);
  EXPECT_EQ(richiesta.creato, "2026-12-06T09:30:00Z") << "UTC of the fixed clock";
  EXPECT_EQ(richiesta.attributi.at("RequestContext"), "C.1.1");
  EXPECT_EQ(richiesta.audience, "http://X-ServiceProvider");

  EXPECT_EQ(servizio_->DaiAsserzione("demInvioPrescritto", "C.1.1", "", "", "", ""), prima);
  EXPECT_EQ(servizio_->DaiAsserzione("QueryPaziente", "C.1.1", "", "", kMedico, ""), prima);
  auto paziente = servizio_->DaiAsserzione("QueryReferto", "C.1.1", "R.1.1", "http://X", "",
                                           "BNCGLI80A41L736X");
  ASSERT_NE(paziente, nullptr);
  EXPECT_NE(paziente, prima);
  EXPECT_EQ(idp_.Richieste().back().attributi.at("PatientID"), "BNCGLI80A41L736X");
  EXPECT_EQ(servizio_->Cache().size(), 2u);

  servizio_->EliminaAsserzione(*paziente);
  EXPECT_EQ(servizio_->Cache().size(), 1u);
  EXPECT_EQ(idp_.Richieste().size(), 2u);
}

TEST_F(AsserzioneIdpTest, RefusedCredentialsExpiredPasswordAndItsChange) {
  servizio_->Ricorda("mrossi", "sbagliata", kMedico, kMedico);
  EXPECT_EQ(servizio_->DaiAsserzione("FlussoACN", "C.1.1", "", "", "", ""), nullptr);
  EXPECT_EQ(servizio_->LastError(), "Credenziali Errate");

  idp_.AggiungiUtente("mrossi", "Vecchia.1", true);
  servizio_->Ricorda("mrossi", "Vecchia.1", kMedico, "VRDLCU55C12F205N");
  EXPECT_EQ(servizio_->DaiAsserzione("FlussoACN", "C.1.1", "", "", "", ""), nullptr);
  EXPECT_EQ(servizio_->LastError(), "Password KIRO Scaduta");
  EXPECT_EQ(idp_.Richieste().back().attributi.at("RequestContext"), "C.1.2")
      << "a delegate acts for the responsible doctor";

  clsItemAsserzione item;
  item.UserName = "mrossi";
  item.Password = "Vecchia.1";
  ASSERT_TRUE(servizio_->CambiaPassword(item, "Nuova.2")) << servizio_->LastError();
  EXPECT_EQ(idp_.Password("mrossi"), "Nuova.2");
  EXPECT_EQ(item.Password, "Nuova.2");
  EXPECT_NE(servizio_->DaiAsserzione("FlussoACN", "C.1.1", "", "", "", ""), nullptr)
      << servizio_->LastError();
}

TEST_F(AsserzioneIdpTest, AnExpiredAssertionIsRenewedByTheProviderAndSentAgain) {
  auto item = servizio_->DaiAsserzione("demInvioPrescritto", "C.1.1", "", "", "", "");
  ASSERT_NE(item, nullptr);
  const std::string vecchia = item->Asserzione;
  server_.Registra("POST", "/mef", [](const sandbox::Richiesta& r) {
    return sandbox::Risposta{200, "<ok>" + std::to_string(r.corpo.size()) + "</ok>", "text/xml"};
  });
  server_.ProgrammaGuasto("/mef",
                          sandbox::Guasto::Stato(500, "<faultstring>ERR_00032</faultstring>"));
  clsSOAP soap;
  soap.URL = server_.Url("/mef");
  soap.FileCertTLS = pki_.ClientP12().string();
  soap.PasswordTLS = std::string(sandbox::Pki::kPassword);
  ASSERT_TRUE(soap.SendAsserzione("<h>[Asserzione]</h>", *item, false, true)) << soap.LastError();
  EXPECT_NE(item->Asserzione, vecchia);
  EXPECT_EQ(idp_.Richieste().size(), 2u);
  EXPECT_NE(server_.Richieste("/mef").back().corpo.find(item->Asserzione), std::string::npos);
}

}  // namespace
}  // namespace qzkiro::net
