// HL7 messages through the stand-in host's service component to the sandbox's
// regional gateway.

#include <gtest/gtest.h>

#include "core/Avvio.h"
#include "net/modHL7.h"
#include "refhost/ServizioKiro.h"
#include "sandbox/GatewayHl7.h"
#include "sandbox/Sandbox.h"
#include "support/AmbientePlugin.h"
#include "sandbox/server/CartellaTemporanea.h"
#include "support/LogProva.h"

namespace qzkiro::net {
namespace {

constexpr const char* kMessaggio =
    "<QRY_A19 xmlns=\"urn:hl7-org:v2xml\"><MSH><MSH.3><HD.1>KIRO</HD.1></MSH.3>"
    "<MSH.9><MSG.1>QRY</MSG.1><MSG.2>A19</MSG.2></MSH.9><MSH.10>MSG0001</MSH.10>"
    "<MSH.11><PT.1>P</PT.1></MSH.11><MSH.12><VID.1>2.5</VID.1></MSH.12></MSH>"
    "<QRF><QRF.5>RSSMRA70A01L736S</QRF.5></QRF></QRY_A19>";

class Hl7Test : public ::testing::Test {
 protected:
  Hl7Test() {
    config_.url_gateway = server_.Url("/hl7");
    config_.certificato_p12 = pki_.ClientP12().string();
    config_.password_p12 = std::string(sandbox::Pki::kPassword);
    config_.ca = pki_.Ca().string();
    refhost::RegistraServizioKiro(config_, &creati_);
  }
  ~Hl7Test() override { host::RimuoviComponente(host::kProgIdServizioHL7); }

  testsupport::AmbienteConHost env_;
  sandbox::Pki pki_ = sandbox::Pki::DellaCompilazione();
  sandbox::Sandbox server_{pki_};
  sandbox::GatewayHl7 gateway_{server_};
  refhost::ConfigServizioKiro config_;
  sandbox::CartellaTemporanea log_;
  int creati_ = 0;
};

TEST_F(Hl7Test, AcceptedMessagesKeepTheirControlIdAndTheServiceStartsOnce) {
  env_.Contesto().settings.log_dir = log_.Path().string();
  ASSERT_TRUE(InviaHL7("SAIA", true, "050503", kMessaggio)) << env_.Contesto().last_error;
  EXPECT_TRUE(InviaHL7("SAIA", true, "050503", kMessaggio));
  EXPECT_EQ(creati_, 1);
  EXPECT_EQ(env_.Contesto().id_controllo_hl7, "SBX000000002");
  EXPECT_NE(env_.Contesto().ack_hl7.find("<MSA.2>MSG0001</MSA.2>"), std::string::npos);
  EXPECT_EQ(server_.Richieste("/hl7/SAIA").at(0).corpo, kMessaggio);

  core::Termina(env_.Contesto());
  EXPECT_EQ(env_.Contesto().servizio_host, nullptr) << "stopped at termination";
  const std::vector<std::string> invio = {"Send Mittente = 050503", "Send Servizio = SAIA",
                                          "Send Sincrono = Vero", "Send HL7"};
  auto atteso = invio;
  atteso.push_back("StartService");
  for (const auto& t : {"Response Status = 200", "Response Error_Log = 0", "Response ACK"}) {
    atteso.emplace_back(t);
  }
  atteso.insert(atteso.end(), invio.begin(), invio.end());
  const auto titoli = testsupport::TitoliLog(log_.Path());
  ASSERT_GE(titoli.size(), atteso.size() + 1);
  EXPECT_EQ(std::vector<std::string>(titoli.begin(), titoli.begin() + atteso.size()), atteso);
  EXPECT_EQ(std::count(titoli.begin(), titoli.end(), "StartService"), 1);
  EXPECT_EQ(titoli.back(), "StopService");
}

TEST_F(Hl7Test, EachFailureHasItsMessage) {
  gateway_.ImpostaAckNegativo("SARR", "12", "Paziente non trovato");
  gateway_.ImpostaSenzaCorpo("SAIN");
  gateway_.ImpostaRisposta("SAASN", "<ACK><MSA>non chiuso");
  struct Caso {
    const char* servizio;
    bool sincrono;
    const char* errore;
  } casi[] = {
      {"SARR", true, "Errore HL7: 12 Paziente non trovato"},
      {"SAIN", true, "Errore servizio Send: Nessuna risposta ricevuta."},
      {"SAASN", false, "Errore servizio Send: Non è stato possibile leggere il documento ACK."},
  };
  for (const auto& caso : casi) {
    EXPECT_FALSE(InviaHL7(caso.servizio, caso.sincrono, "050503", kMessaggio)) << caso.servizio;
    EXPECT_EQ(env_.Contesto().last_error, caso.errore);
  }

  server_.Ferma();
  EXPECT_FALSE(InviaHL7("SAIA", true, "050503", kMessaggio));
  EXPECT_EQ(env_.Contesto().last_error, "Errore: Mancata connessione al Server");
}

TEST_F(Hl7Test, AServiceThatDoesNotStartAndSimulatorMode) {
  config_.rifiuta_avvio = true;
  refhost::RegistraServizioKiro(config_, &creati_);
  EXPECT_FALSE(InviaHL7("SAIA", true, "050503", kMessaggio));
  EXPECT_EQ(env_.Contesto().last_error,
            "Errore servizio Send: Non è stato possibile avviare KIRO.StartService");

  env_.Contesto().simulatore = true;
  env_.CartellaPlugin().Scrivi(
      "Simulatore/SAIA/RSSMRA70A01L736S.xml",
      "<ADR_A19 xmlns=\"urn:hl7-org:v2xml\"><MSH><MSH.10>SIM1</MSH.10></MSH>"
      "<MSA><MSA.6><CE.1>0</CE.1></MSA.6></MSA></ADR_A19>");
  EXPECT_TRUE(InviaHL7("SAIA", true, "050503", kMessaggio)) << env_.Contesto().last_error;
  EXPECT_EQ(env_.Contesto().id_controllo_hl7, "SIM1");
  EXPECT_EQ(env_.Contesto().servizio_host, nullptr) << "no service in simulator mode";
  EXPECT_TRUE(server_.Richieste().empty());
}

}  // namespace
}  // namespace qzkiro::net
