#include "services/ricette/RichiesteTesto.h"

#include <gtest/gtest.h>

#include <string>

namespace qzkiro::services {
namespace {

constexpr const char* kTestata =
    "<soapenv:Envelope xmlns:soapenv=\"http://schemas.xmlsoap.org/soap/envelope/\" "
    "xmlns:wsa=\"http://www.w3.org/2005/08/addressing\" "
    "xmlns:wsse=\"http://docs.oasis-open.org/wss/2004/01/"
    "oasis-200401-wss-wssecurity-secext-1.0.xsd\" ";
constexpr const char* kHeader =
    "><soapenv:Header><wsse:Security>[Asserzione]</wsse:Security></soapenv:Header><soapenv:Body>";
constexpr const char* kFine = "</soapenv:Body></soapenv:Envelope>";

TEST(RichiesteTestoTest, CancelAndViewRequestsAreTheKitsElementsInItsOrder) {
  const std::string cf = "RSSMRA70A01L736S";
  EXPECT_EQ(RichiestaAnnulla("050A<&>0000001", cf),
            std::string(kTestata) +
                "xmlns:ann=\"http://annullaprescrittorichiesta.xsd.dem.sanita.finanze.it\"" +
                kHeader +
                "<ann:AnnullaPrescrittoRichiesta><ann:pinCode></ann:pinCode>"
                "<ann:nre>050A&lt;&amp;&gt;0000001</ann:nre><ann:cfMedico>RSSMRA70A01L736S"
                "</ann:cfMedico></ann:AnnullaPrescrittoRichiesta>" +
                kFine);
  EXPECT_EQ(RichiestaAnnullaBianca("1234567890", "Q2lmcmF0bw==", "050B00000000001", cf),
            std::string(kTestata) +
                "xmlns:ann=\"http://annullaprescrittoricettabiancarichiesta.xsd.dem.sanita."
                "finanze.it\"" +
                kHeader +
                "<ann:AnnullaPrescrittoRicettaBiancaRichiesta><ann:pinCode>1234567890"
                "</ann:pinCode><ann:codicePaziente>Q2lmcmF0bw==</ann:codicePaziente>"
                "<ann:nrbe>050B00000000001</ann:nrbe><ann:cfMedico>RSSMRA70A01L736S"
                "</ann:cfMedico></ann:AnnullaPrescrittoRicettaBiancaRichiesta>" +
                kFine);
  EXPECT_EQ(RichiestaVisualizza("050A00000000001", cf),
            std::string(kTestata) +
                "xmlns:vis=\"http://visualizzaprescrittorichiesta.xsd.dem.sanita.finanze.it\"" +
                kHeader +
                "<vis:VisualizzaPrescrittoRichiesta><vis:pinCode></vis:pinCode>"
                "<vis:nre>050A00000000001</vis:nre><vis:cfMedico>RSSMRA70A01L736S"
                "</vis:cfMedico></vis:VisualizzaPrescrittoRichiesta>" +
                kFine);
}

}  // namespace
}  // namespace qzkiro::services
