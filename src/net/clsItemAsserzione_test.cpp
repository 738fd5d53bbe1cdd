#include "qzkiro/clsItemAsserzione.h"

#include <gtest/gtest.h>

#include "core/Contesto.h"

namespace qzkiro {
namespace {

TEST(clsItemAsserzioneTest, TextFormRoundTripsAnyTextAndLeavesTheOneTimeCode) {
  clsItemAsserzione item;
  item.Asserzione = "<saml:Assertion ID=\"_1\">\r\n1:2,</saml:Assertion>";
  item.Contesto = "C.1.2";
  item.CFResponsabile = "RSSMRA70A01L736S";
  item.Password = "p,à:;\n";
  item.TimeStamp = "2026-12-06T10:30:00Z";
  item.LastErrorCode = "ERR_00056";
  item.Struttura = "";
  item.OTP = "123456";
  clsItemAsserzione letto;
  letto.OTP = "000000";
  ASSERT_TRUE(letto.FromString(item.ToString()));
  EXPECT_EQ(letto.ToString(), item.ToString());
  EXPECT_EQ(letto.Password, "p,à:;\n");
  EXPECT_EQ(letto.Asserzione, item.Asserzione);
  EXPECT_EQ(letto.OTP, "000000");
  EXPECT_FALSE(letto.FromString("non una lista"));
  EXPECT_EQ(letto.Contesto, "C.1.2") << "a bad text changes nothing";
}

TEST(clsItemAsserzioneTest, CloneKeepsContextAndCredentialsOnly) {
  clsItemAsserzione item;
  item.Asserzione = "<saml:Assertion/>";
  item.Contesto = "C.1.1";
  item.UserName = "mrossi";
  item.Password = "segreta";
  item.Servizio = "InvioPrescritto";
  item.Nonce = "n";
  item.LastError = "e";
  item.OTP = "1";
  auto clone = item.Clone();
  EXPECT_EQ(clone->Asserzione + clone->Nonce + clone->LastError + clone->OTP, "");
  EXPECT_EQ(clone->UserName + "|" + clone->Password + "|" + clone->Servizio + "|" + clone->Ruolo,
            "mrossi|segreta|InvioPrescritto|R.1.1");

  auto& c = core::NuovoContesto();
  EXPECT_EQ(item.ApplicationID(), "urn:uuid:010ba07a-5fbf-4a86-8364-9a026ab3be3e");
  c.settings.application_id = "urn:uuid:prova";
  EXPECT_EQ(item.ApplicationID(), "urn:uuid:prova");
  core::NuovoContesto();
}

}  // namespace
}  // namespace qzkiro
