#include "net/MessaggiIdentita.h"

#include <gtest/gtest.h>

#include <regex>

#include "core/Contesto.h"

namespace qzkiro::net {
namespace {

clsItemAsserzione Item() {
  clsItemAsserzione item;
  item.UserName = "mrossi";
  item.Nonce = "ABCDEFGHIJKLMNOPQRSTUV==";
  item.TimeStamp = "2026-12-06T09:30:00Z";
  item.TimeStamp1d = "2026-12-07T09:30:00Z";
  item.CFResponsabile = "RSSMRA70A01L736S";
  item.CFUtente = "VRDLCU55C12F205S";
  item.Contesto = "C.1.2";
  item.Audience = "http://X-ServiceProvider";
  item.Struttura = "050503";
  return item;
}

TEST(MessaggiIdentitaTest, AuthenticationEnvelopeIsExactlyTheProvidersText) {
  core::NuovoContesto();
  const std::string atteso =
      R"(<?xml version="1.0" encoding="UTF-8"?>)"
      R"(<soap:Envelope xmlns:soap="http://www.w3.org/2003/05/soap-envelope" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance" xsi:schemaLocation="http://www.w3.org/2003/05/soap-envelope soap-envelope.xsd">)"
      R"(  <soap:Header xmlns:wsa="http://www.w3.org/2005/08/addressing" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance" xsi:schemaLocation="http://www.w3.org/2005/08/addressing ws-addr.xsd">)"
      R"(    <wsa:Action>urn:rve:AuthenticateAndGetAssertionRequest</wsa:Action>)"
      R"(    <wsa:MessageID>urn:uuid:0f8fad5b-d9cb-469f-a165-70867728950e</wsa:MessageID>)"
      R"(    <wsa:To>http://identityAndAssertionsProvider</wsa:To>)"
      R"(    <wsse:Security xmlns:wsse="http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-wssecurity-secext-1.0.xsd" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance" xsi:schemaLocation="http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-wssecurity-secext-1.0.xsd oasis-200401-wss-wssecurity-secext-1.0.xsd">)"
      R"(      <wsse:UsernameToken xmlns:utp="http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-wssecurity-utility-1.0.xsd">)"
      R"(        <wsse:Username>mrossi</wsse:Username>)"
      R"(        <wsse:Password Type="rve:PasswordEncrypted">Q0lGUkFUQQ==</wsse:Password>)"
      R"(        <wsse:Nonce>ABCDEFGHIJKLMNOPQRSTUV==</wsse:Nonce>)"
      R"(        <utp:Created>2026-12-06T09:30:00Z</utp:Created>)"
      R"(      </wsse:UsernameToken>    </wsse:Security>  </soap:Header>)"
      R"(  <soap:Body xmlns:samlp="urn:oasis:names:tc:SAML:2.0:protocol" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance" xsi:schemaLocation="urn:oasis:names:tc:SAML:2.0:protocol saml-schema-protocol-2.0.xsd">)"
      R"(    <samlp:AuthnRequest ID="msgId_0f8fad5b-d9cb-469f-a165-70867728950e" Version="2.0" IssueInstant="2026-12-06T09:30:00Z">)"
      R"(      <Issuer xmlns="urn:oasis:names:tc:SAML:2.0:assertion">RSSMRA70A01L736S</Issuer>)"
      R"(      <samlp:Extensions>        <AttributeStatement xmlns="urn:oasis:names:tc:SAML:2.0:assertion">)"
      R"(          <Attribute Name="UserClientAuthentication">            <AttributeValue>A.1</AttributeValue>          </Attribute>)"
      R"(          <Attribute Name="ApplicationID">            <AttributeValue>urn:uuid:010ba07a-5fbf-4a86-8364-9a026ab3be3e</AttributeValue>          </Attribute>)"
      R"(          <Attribute Name="PatientID">            <AttributeValue></AttributeValue>          </Attribute>)"
      R"(          <Attribute Name="RequestContext">            <AttributeValue>C.1.2</AttributeValue>          </Attribute>)"
      R"(          <Attribute Name="codStruttura">            <AttributeValue>050503</AttributeValue>          </Attribute>)"
      R"(        </AttributeStatement>      </samlp:Extensions>)"
      R"(      <Subject xmlns="urn:oasis:names:tc:SAML:2.0:assertion">        <NameID>VRDLCU55C12F205S</NameID>      </Subject>)"
      R"(      <Conditions xmlns="urn:oasis:names:tc:SAML:2.0:assertion" NotBefore="2026-12-06T09:30:00Z" NotOnOrAfter="2026-12-07T09:30:00Z">)"
      R"(        <AudienceRestriction>          <Audience>http://X-ServiceProvider</Audience>        </AudienceRestriction>)"
      R"(      </Conditions>    </samlp:AuthnRequest>  </soap:Body></soap:Envelope>)";
  auto item = Item();
  EXPECT_EQ(BustaAutenticazione(item, "0f8fad5b-d9cb-469f-a165-70867728950e", "Q0lGUkFUQQ=="),
            atteso);
  item.OTP = "123456";
  EXPECT_NE(
      BustaAutenticazione(item, "x", "p")
          .find(R"(<Attribute Name="codOTP">            <AttributeValue>123456</AttributeValue>)"),
      std::string::npos);

  const std::string cambio = BustaAggiornaPassword(item, "id", "VECCHIA", "NUOVA");
  EXPECT_NE(cambio.find("<wsa:Action>urn:rve:UpdatePasswordRequest</wsa:Action>"),
            std::string::npos);
  EXPECT_NE(cambio.find("</utp:Created>        <rve-h:NewPassword>NUOVA</rve-h:NewPassword>      "
                        "</wsse:UsernameToken>"),
            std::string::npos);
  EXPECT_TRUE(
      cambio.ends_with("    <rve-b:UpdatePasswordRequest/>  </soap:Body> </soap:Envelope> "));
}

TEST(MessaggiIdentitaTest, NoncesMessageIdsAndTimeStamps) {
  core::CasualeFisso casuale(42);
  const std::string nonce = CreaNonce(casuale);
  EXPECT_TRUE(std::regex_match(nonce, std::regex("[A-Za-z0-9]{22}==")));
  EXPECT_NE(CreaNonce(casuale), nonce);
  const std::string id = CreaIDMessaggio(casuale);
  EXPECT_TRUE(std::regex_match(
      id, std::regex("[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}")))
      << id;
  EXPECT_EQ(TimeStampSaml({2026, 1, 2, 3, 4, 5}), "2026-01-02T03:04:05Z");
}

TEST(MessaggiIdentitaTest, AnswersBecomeTheAssertionOrTheProvidersReason) {
  auto item = Item();
  ASSERT_TRUE(LeggiRispostaAutenticazione(
      "<s:Envelope xmlns:s=\"http://www.w3.org/2003/05/soap-envelope\"><s:Body><r:Response "
      "xmlns:r=\"urn:r\"><r:Status><r:StatusCode Value=\"urn:oasis:names:tc:SAML:2.0:status:"
      "Success\"/></r:Status><saml:Assertion ID=\"_a\" xmlns:saml=\"urn:s\">firmata"
      "</saml:Assertion></r:Response></s:Body></s:Envelope>",
      item));
  EXPECT_EQ(item.Asserzione,
            "<saml:Assertion ID=\"_a\" xmlns:saml=\"urn:s\">firmata</saml:Assertion>");

  EXPECT_FALSE(LeggiRispostaAutenticazione(
      "<Envelope><Body><Response><Status><StatusCode Value=\"urn:rve:Requester\"/>"
      "<StatusMessage>ERR_00054 credenziali</StatusMessage></Status></Response></Body></Envelope>",
      item));
  EXPECT_EQ(item.LastErrorCode, "ERR_00054");
  EXPECT_EQ(item.LastError, "Credenziali Errate");

  EXPECT_FALSE(LeggiRispostaAutenticazione(
      "<Envelope><Body><Fault><Reason><Text>Autenticazione fallita</Text></Reason><Detail>"
      "<FailedAuthentication><ErrorCode>ERR_00099</ErrorCode><Description>uno</Description>"
      "<Description>due</Description></FailedAuthentication></Detail></Fault></Body></Envelope>",
      item));
  EXPECT_EQ(item.LastErrorCode, "ERR_00099");
  EXPECT_EQ(item.LastError, "Autenticazione fallita\r\nuno\r\ndue");

  EXPECT_FALSE(LeggiRispostaAutenticazione("<rotto", item));
  EXPECT_EQ(item.LastError, "Non è stato possibile leggere la risposta");
}

TEST(MessaggiIdentitaTest, PasswordChangeAnswers) {
  const std::string busta =
      "<s:Envelope xmlns:s=\"http://www.w3.org/2003/05/soap-envelope\"><s:Body>";
  // clang-format off
  const struct { std::string corpo; bool riuscito; std::string errore; } casi[] = {
      {"<b:UpdatePasswordResponse xmlns:b=\"urn:rve:2013:rve-body\"><b:expirationDate>2027-06-06"
       "</b:expirationDate></b:UpdatePasswordResponse>",
       true, ""},
      {"<b:UpdatePasswordResponse xmlns:b=\"urn:b\"/><x>expirationDate</x>", false, ""},
      {"<s:Fault><s:Reason><s:Text>Cambio password fallito</s:Text></s:Reason><s:Detail>"
       "<FailedAuthentication><ErrorCode>ERR_00054</ErrorCode><Description>Password attuale "
       "errata</Description></FailedAuthentication></s:Detail></s:Fault>",
       false, "Cambio password fallito\r\nPassword attuale errata"},
      {"<Response><Status><StatusCode Value=\"Requester\"/><StatusMessage>ERR_00057 policy"
       "</StatusMessage></Status></Response>",
       false, "La Password non rispetta le policy aziendali"},
  };
  // clang-format on
  for (const auto& caso : casi) {
    std::string errore = "prima";
    EXPECT_EQ(LeggiRispostaAggiornaPassword(busta + caso.corpo + "</s:Body></s:Envelope>", errore),
              caso.riuscito)
        << caso.corpo;
    EXPECT_EQ(errore, caso.errore) << caso.corpo;
  }
  std::string errore;
  EXPECT_FALSE(LeggiRispostaAggiornaPassword("<html>502", errore));
  EXPECT_EQ(errore, "");
}

}  // namespace
}  // namespace qzkiro::net
