#include "sandbox/GatewayHl7.h"

#include <gtest/gtest.h>

#include "sandbox/prova/Strumenti.h"

namespace qzkiro::sandbox {
namespace {

using prova::Esegui;
using prova::Esito;

constexpr const char* kQry = R"(<?xml version="1.0" encoding="UTF-8"?>
<QRY_A19 xmlns="urn:hl7-org:v2xml">
  <MSH>
    <MSH.1>|</MSH.1><MSH.2>^~\&amp;</MSH.2>
    <MSH.3><HD.1>KIRO</HD.1></MSH.3><MSH.4><HD.1>MMG</HD.1></MSH.4>
    <MSH.5><HD.1>ANAGRAFE</HD.1></MSH.5><MSH.6><HD.1>REGIONE</HD.1></MSH.6>
    <MSH.7><TS.1>20240305102030</TS.1></MSH.7>
    <MSH.9><MSG.1>QRY</MSG.1><MSG.2>A19</MSG.2><MSG.3>QRY_A19</MSG.3></MSH.9>
    <MSH.10>CTRL-0042</MSH.10>
    <MSH.11><PT.1>T</PT.1></MSH.11><MSH.12><VID.1>2.5</VID.1></MSH.12>
  </MSH>
  <QRD><QRD.1><TS.1>20240305102030</TS.1></QRD.1></QRD>
</QRY_A19>)";

// The ACK is written from the header read: sender and receiver swapped, the
// event, processing id and version kept, the control id echoed and escaped.
TEST(MessaggioHl7, TheHeaderReadIsAnsweredWithTheSwappedAck) {
  const auto m = LeggiMessaggioHl7(kQry);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->radice + " " + m->tipo + " " + m->id_controllo, "QRY_A19 QRY CTRL-0042");
  MessaggioHl7 copia = *m;
  copia.id_controllo = "A&B";
  EXPECT_EQ(ComponiAck(copia, "SBX1", "20240305102031", {"AE", "12", "Paziente <ignoto>"}),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?><ACK xmlns=\"urn:hl7-org:v2xml\"><MSH>"
            "<MSH.1>|</MSH.1><MSH.2>^~\\&amp;</MSH.2><MSH.3><HD.1>ANAGRAFE</HD.1></MSH.3>"
            "<MSH.4><HD.1>REGIONE</HD.1></MSH.4><MSH.5><HD.1>KIRO</HD.1></MSH.5>"
            "<MSH.6><HD.1>MMG</HD.1></MSH.6><MSH.7><TS.1>20240305102031</TS.1></MSH.7>"
            "<MSH.9><MSG.1>ACK</MSG.1><MSG.2>A19</MSG.2><MSG.3>ACK</MSG.3></MSH.9>"
            "<MSH.10>SBX1</MSH.10><MSH.11><PT.1>T</PT.1></MSH.11><MSH.12><VID.1>2.5</VID.1>"
            "</MSH.12></MSH><MSA><MSA.1>AE</MSA.1><MSA.2>A&amp;B</MSA.2><MSA.6><CE.1>12</CE.1>"
            "<CE.2>Paziente &lt;ignoto&gt;</CE.2></MSA.6></MSA></ACK>");

  // Without a namespace and with the older components.
  const auto vecchio = LeggiMessaggioHl7(
      "<ADT_A01><MSH><MSH.3>APP</MSH.3><MSH.9><CM_MSG.1>ADT</CM_MSG.1><CM_MSG.2>A01</CM_MSG.2>"
      "</MSH.9><MSH.10>7</MSH.10></MSH></ADT_A01>");
  ASSERT_TRUE(vecchio);
  EXPECT_EQ(vecchio->tipo + "^" + vecchio->evento + "|" + vecchio->applicazione_mittente,
            "ADT^A01|APP");

  for (const char* illeggibile : {"non è XML", "<QRY_A19/>", "<X><MSH><MSH.9/></MSH></X>",
                                  "<X><MSH><MSH.9/><MSH.10>1</MSH.10></X>"}) {
    std::string errore;
    EXPECT_FALSE(LeggiMessaggioHl7(illeggibile, &errore)) << illeggibile;
    EXPECT_FALSE(errore.empty()) << illeggibile;
  }
}

class GatewayHl7Test : public ::testing::Test {
 protected:
  Pki pki = Pki::DellaCompilazione();
  Sandbox sandbox{pki};
  GatewayHl7 gateway{sandbox};

  Esito Invia(std::string_view servizio, std::string corpo = kQry) {
    return Esegui(prova::Tls(sandbox, pki, "/hl7/" + std::string(servizio), "POST",
                             std::move(corpo), {"Content-Type: text/xml; charset=utf-8"}));
  }
};

TEST_F(GatewayHl7Test, AnUnreadableMessageIsRejectedAndOnlyPostIsServed) {
  const Esito rifiuto = Invia("anagrafe", "<niente");
  EXPECT_NE(rifiuto.corpo.find("<MSA.1>AR</MSA.1>"), std::string::npos) << rifiuto.corpo;
  EXPECT_NE(rifiuto.corpo.find("Messaggio HL7 non leggibile"), std::string::npos);
  EXPECT_EQ(Esegui({.url = sandbox.UrlHttp("/hl7/anagrafe")}).stato, 405);
}

// Each script applies as tests/integration/hl7_test.cpp and regione_test.cpp show.
TEST_F(GatewayHl7Test, ResetBringsEveryServiceBackToThePositiveAck) {
  gateway.ImpostaAckNegativo("negativo", "12", "Paziente non trovato");
  gateway.ImpostaErrorLog("log", "507");
  gateway.ImpostaSenzaCorpo("vuoto");
  gateway.ImpostaRisposta("ricerca", [](const MessaggioHl7&, const Richiesta&) { return "<R/>"; });
  EXPECT_EQ(Invia("ricerca").corpo, "<R/>");
  gateway.Ripristina();
  for (const char* servizio : {"negativo", "log", "vuoto", "ricerca"}) {
    const Esito e = Invia(servizio);
    EXPECT_NE(e.corpo.find("<MSA.1>AA</MSA.1><MSA.2>CTRL-0042</MSA.2>"), std::string::npos)
        << servizio;
    EXPECT_EQ(e.Intestazione("X-Error-Log"), "") << servizio;
  }
}

}  // namespace
}  // namespace qzkiro::sandbox
