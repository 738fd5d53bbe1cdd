#include "core/modSimulator.h"

#include <gtest/gtest.h>

#include "support/AmbientePlugin.h"

namespace qzkiro::core {
namespace {

class SimulatoreTest : public ::testing::Test {
 protected:
  std::string Risposta(const std::string& servizio, const std::string& richiesta = {}) {
    bool fatto = false;
    stato_ = -1;
    auto testo = modSimulator::RispostaSimulata(env_.Contesto(), fatto, stato_, true, servizio, "",
                                                richiesta, "");
    EXPECT_TRUE(fatto);
    EXPECT_EQ(stato_, testo.empty() ? 500 : 0) << servizio;
    return testo;
  }
  void File(const std::string& nome, const std::string& testo) {
    env_.CartellaPlugin().Scrivi("Simulatore/" + nome, testo);
  }

  testsupport::AmbientePlugin env_;
  long stato_ = -1;
};

TEST_F(SimulatoreTest, SainCallsAreNumberedByFolder) {
  File("SAIN/SAIN.xml", "<generale/>");
  File("SAIN/2/b.xml", "<seconda-b/>");
  File("SAIN/2/a.XML", "<seconda-a/>");
  File("SAIN/2/0.txt", "non xml");
  File("SAIN/3/leggimi.txt", "nessun xml");
  EXPECT_EQ(Risposta("SAIN"), "<generale/>") << "no folder 1: the service's own file";
  EXPECT_EQ(Risposta("SAIN"), "<seconda-a/>");
  EXPECT_EQ(Risposta("SAIN"), "") << "a folder without .xml files gives no answer";
  EXPECT_EQ(env_.Contesto().contatore_sain, 3);
}

TEST_F(SimulatoreTest, SaiaAnswersByFiscalCodeWithFallbacks) {
  File("SAIA/SAIA.xml", "<tutti/>");
  File("SAIA/RSSMRA70A01L736S.xml", "<rossi/>");
  File("SAIA_ALL/SAIA_ALL.xml", "<elenco/>");
  EXPECT_EQ(Risposta("SAIA", "<QRD/><QRF><QRF.5>RSSMRA70A01L736S</QRF.5></QRF>"), "<rossi/>");
  EXPECT_EQ(Risposta("SAIA", "<QRF.5>VRDLCU55C12F205S</QRF.5>"), "<tutti/>");
  EXPECT_EQ(Risposta("SAIA", "<QRF.5>20000101</QRF.5>"), "<elenco/>");
  EXPECT_EQ(Risposta("SAIA", "<QRF.5>123</QRF.5>"), "<tutti/>");
  EXPECT_EQ(Risposta("SAIA", "<QRF>senza campo</QRF>"), "");
}

TEST_F(SimulatoreTest, OtherServicesAndChosenFiles) {
  File("VisualizzaPrescritto/VisualizzaPrescritto.xml", "<ricevuta>è</ricevuta>");
  File("QueryConsenso/Consenso_1.xml", "<consenso/>");
  EXPECT_EQ(Risposta("VisualizzaPrescritto"), "<ricevuta>è</ricevuta>");
  EXPECT_EQ(Risposta("ServizioSenzaCartella"), "");
  EXPECT_EQ(Risposta("QueryConsenso"), "") << "no file chosen yet";
  env_.Contesto().file_simulatore = "Consenso_1.xml";
  EXPECT_EQ(Risposta("QueryConsenso"), "<consenso/>");
}

}  // namespace
}  // namespace qzkiro::core
