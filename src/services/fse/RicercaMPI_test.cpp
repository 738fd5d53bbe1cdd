#include "services/fse/RicercaMPI.h"

#include <gtest/gtest.h>

namespace qzkiro::fse {
namespace {

TEST(RicercaMPITest, DoctorRelationEventsHaveTheirTexts) {
  // clang-format off
  const std::pair<const char*, const char*> casi[] = {
      {"REV", "Revoca"}, {"RV1", "Revoca medico (art.7)"}, {"RV2", "Revoca per decesso"},
      {"RV3", "Revoca per cambio residenza"}, {"RV4", "Revoca per doppia iscrizione"},
      {"RV5", "Revoca per compimento 14 anni"}, {"SNM", "Scelta nuovo medico (aggiunto paziente)"},
      {"rev", ""}, {"ALL", ""}, {"", ""}};
  // clang-format on
  for (const auto& [codice, testo] : casi) EXPECT_EQ(TestoEventoMPI(codice), testo) << codice;
}

TEST(RicercaMPITest, TheQueryIdCountsSecondsFrom2012AndTwoDigitsOfTheMilliseconds) {
  EXPECT_EQ(IdQueryMPI({2012, 1, 1, 0, 0, 0}, 0), "000");
  EXPECT_EQ(IdQueryMPI({2012, 1, 1, 0, 1, 1}, 7), "6100");
  EXPECT_EQ(IdQueryMPI({2012, 1, 2, 0, 0, 0}, 999), "8640099");
  EXPECT_EQ(IdQueryMPI({2026, 12, 7, 10, 30, 0}, 123).substr(9), "12");
}

TEST(RicercaMPITest, TheSingleQueryIsAnHl7Qry_A19WithTheSearchInQrf5) {
  const util::DataOra adesso{2026, 12, 7, 10, 30, 15};
  const std::string corpo = CorpoRicercaMPI(
      {"RSSMRA45M41L736K", "", "0501000001", "ROSSI", "MARIA", "19450801"}, "RSSMRA70A01L736S",
      adesso, "468585015");
  EXPECT_EQ(corpo,
            "<QRY_A19 xmlns=\"urn:hl7-org:v2xml\"><MSH><MSH.1>|</MSH.1><MSH.2>^~\\&amp;</MSH.2>"
            "<MSH.3><HD.2>Curalis</HD.2></MSH.3><MSH.7><TS.1>20261207103015</TS.1></MSH.7><MSH.9>"
            "<MSG.1>QRY</MSG.1><MSG.2>A19</MSG.2><MSG.3>QRY_A19</MSG.3></MSH.9><MSH.10>468585015"
            "</MSH.10><MSH.11><PT.1>P</PT.1></MSH.11><MSH.12><VID.1>2.5.1</VID.1></MSH.12></MSH>"
            "<QRD><QRD.1><TS.1>202612071030</TS.1></QRD.1><QRD.2>D</QRD.2><QRD.3>468585015</QRD.3>"
            "<QRD.4>468585015</QRD.4><QRD.7><CQ.1>1</CQ.1><CQ.2><CE.1>RD</CE.1></CQ.2></QRD.7>"
            "<QRD.8><XCN.1>RSSMRA45M41L736K</XCN.1></QRD.8><QRD.9><CE.1>APN</CE.1></QRD.9><QRD.10>"
            "<CE.1>DEM</CE.1></QRD.10></QRD><QRF><QRF.1>RETEMMG</QRF.1><QRF.4>RSSMRA70A01L736S"
            "</QRF.4><QRF.5>RSSMRA45M41L736K</QRF.5><QRF.5>0501000001</QRF.5><QRF.5>ROSSI</QRF.5>"
            "<QRF.5>MARIA</QRF.5><QRF.5>19450801</QRF.5></QRF></QRY_A19>");
  // By the index's own identifier when it is known.
  const std::string per_mpi = CorpoRicercaMPI({"RSSMRA45M41L736K", "MPI0000001", "", "", "", ""}, "X", adesso, "1");
  EXPECT_NE(per_mpi.find("<QRF.5>MPI0000001</QRF.5><QRF.5></QRF.5>"), std::string::npos);
}

}  // namespace
}  // namespace qzkiro::fse
