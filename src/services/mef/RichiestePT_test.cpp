#include "services/mef/RichiestePT.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace qzkiro::mef {
namespace {

constexpr const char* kTestata =
    "<soapenv:Envelope xmlns:soapenv=\"http://schemas.xmlsoap.org/soap/envelope/\" "
    "xmlns:wsa=\"http://www.w3.org/2005/08/addressing\" "
    "xmlns:wsse=\"http://docs.oasis-open.org/wss/2004/01/"
    "oasis-200401-wss-wssecurity-secext-1.0.xsd\" ";
constexpr const char* kHeader =
    "><soapenv:Header><wsse:Security>[Asserzione]</wsse:Security></soapenv:Header><soapenv:Body>";
constexpr const char* kFine = "</soapenv:Body></soapenv:Envelope>";
constexpr const char* kPrefissiElenco =
    "xmlns:elen=\"http://elencoprotocollipianiterapeuticirichiesta.xsd.sanita.finanze.it\" "
    "xmlns:tip=\"http://tipodatielencoprotocollipianiterapeutici.xsd.sanita.finanze.it\"";

const MedicoPT kMedico{"RSSMRA70A01L736S", "050", "503", "050503", "F"};

TEST(RichiestePTTest, TheListRequestIsThePrescriberThePatientTheThreeKindsAndThePeriod) {
  EXPECT_EQ(RichiestaElencoPT(kMedico, "Q2lm<&>", {"Diabete & co", "20260101", "20261231"}),
            std::string(kTestata) + kPrefissiElenco + kHeader +
                "<elen:ElencoProtocolliPianiTerapeuticiRichiesta>"
                "<elen:cfMedico>RSSMRA70A01L736S</elen:cfMedico><elen:codRegione>050"
                "</elen:codRegione><elen:codASLAo>503</elen:codASLAo><elen:codStruttura>050503"
                "</elen:codStruttura><elen:codSpecializzazione>F</elen:codSpecializzazione>"
                "<elen:cfAssistito>Q2lm&lt;&amp;&gt;</elen:cfAssistito>"
                "<elen:argomento>Diabete &amp; co</elen:argomento>"
                "<elen:listaPiani>U</elen:listaPiani><elen:listaPiani>T</elen:listaPiani>"
                "<elen:listaPiani>P</elen:listaPiani>"
                "<elen:dataInizioPeriodo>20260101</elen:dataInizioPeriodo>"
                "<elen:dataFinePeriodo>20261231</elen:dataFinePeriodo>"
                "</elen:ElencoProtocolliPianiTerapeuticiRichiesta>" +
                kFine);
}

TEST(RichiestePTTest, NoTopicAndNoStructureLeaveTheirElementsOut) {
  MedicoPT medico = kMedico;
  medico.struttura.clear();
  const std::string richiesta = RichiestaElencoPT(medico, "QQ==", {"", "19000101", ""});
  EXPECT_NE(richiesta.find("<elen:codASLAo>503</elen:codASLAo><elen:codSpecializzazione>"),
            std::string::npos);
  EXPECT_NE(richiesta.find("<elen:cfAssistito>QQ==</elen:cfAssistito><elen:listaPiani>U"),
            std::string::npos);
  EXPECT_NE(richiesta.find("<elen:dataFinePeriodo></elen:dataFinePeriodo>"), std::string::npos);
  EXPECT_EQ(richiesta.find("argomento"), std::string::npos);
  EXPECT_EQ(richiesta.find("codStruttura"), std::string::npos);
}

TEST(RichiestePTTest, TheViewRequestNamesThePlanBeforeThePatient) {
  EXPECT_EQ(RichiestaVisualizzaPT(kMedico, "PT2026/0001", "QQ=="),
            std::string(kTestata) +
                "xmlns:vis=\"http://visualizzazionepianoterapeuticoaifarichiesta.xsd.sanita."
                "finanze.it\" xmlns:tip=\"http://tipodativisualizzazionepianoterapeuticoaifa.xsd."
                "sanita.finanze.it\"" +
                kHeader +
                "<vis:VisualizzazionePianoTerapeuticoAifaRichiesta>"
                "<vis:cfMedico>RSSMRA70A01L736S</vis:cfMedico><vis:codRegione>050</vis:codRegione>"
                "<vis:codASLAo>503</vis:codASLAo><vis:codStruttura>050503</vis:codStruttura>"
                "<vis:codSpecializzazione>F</vis:codSpecializzazione>"
                "<vis:numProtocollo>PT2026/0001</vis:numProtocollo>"
                "<vis:cfAssistito>QQ==</vis:cfAssistito>"
                "</vis:VisualizzazionePianoTerapeuticoAifaRichiesta>" +
                kFine);
}

TEST(RichiestePTTest, ThePrescriberComesFromTheUnitCode) {
  struct Caso {
    const char* unita;
    const char* struttura;
    MedicoPT atteso;
  };
  const Caso casi[] = {
      {"050503", " 050503 ", {"CF", "050", "503", "050503", "F"}},
      {" 050101", "", {"CF", "050", "101", "", "F"}},
      {"05", "", {"CF", "05", "", "", "F"}},
  };
  const auto campi = [](const MedicoPT& m) {
    return m.cf + "|" + m.regione + "|" + m.asl + "|" + m.struttura + "|" + m.specializzazione;
  };
  for (const Caso& caso : casi) {
    EXPECT_EQ(campi(MedicoDaUnita("CF", caso.unita, caso.struttura)), campi(caso.atteso))
        << caso.unita;
  }
}

TEST(RichiestePTTest, DatesOfTheHostBecomeTheServicesDays) {
  // clang-format off
  const std::pair<const char*, std::optional<std::string>> casi[] = {
      {"", ""}, {"20260115", "20260115"}, {"2026-01-15", "20260115"},
      {"2026-01-15 10:30:00", "20260115"}, {"15/01/2026", "20260115"}, {" 29/02/2028 ", "20280229"},
      {"29/02/2026", std::nullopt}, {"20261301", std::nullopt}, {"2026-1-5", std::nullopt},
      {"domani", std::nullopt},
  };
  // clang-format on
  for (const auto& [data, attesa] : casi) EXPECT_EQ(DataPT(data), attesa) << data;
}

}  // namespace
}  // namespace qzkiro::mef
