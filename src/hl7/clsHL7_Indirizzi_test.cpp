#include <gtest/gtest.h>

#include "hl7/LettoreHL7_test.h"

namespace qzkiro::hl7 {
namespace {

using prove::AmbienteConHost;
using prove::CaricaFile;
using prove::FileProva;
using prove::Lettore;
using prove::Messaggio;
using prove::Segmenti;

// The municipality file of the add-on folder: the code is column 2, the
// name column 3, the validity columns 6 and 7.
const char* const kComuniCsv =
    "1;027;027042;VENEZIA VECCHIA;VE;L736;01/01/1800;31/12/1949\r\n"
    "2;027;027042;VENEZIA;VE;L736;01/01/1950;31/12/9999\r\n"
    "3;028;028060;PADOVA;PD;G224;01/01/1900;31/12/2020\r\n"
    "4;099;099001;CORTO\r\n"
    "5;040;040012;FORL\xCC;FC;D704;1900-01-01;9999-12-31\r\n"
    "6;999;999215;STATI UNITI;EE;Z404;01/01/1900;31/12/9999\r\n"
    "7;030;030001;SENZA INIZIO;UD;X001;;31/12/9999\r\n";

// A host whose municipality archive tells its look-ups apart.
void ArchivioComuni(testsupport::AmbientePlugin& env) {
  env.CartellaHost().Scrivi("archivi/Comuni.json", R"json({"Versione": "1", "Voci": [
    {"Istat": "027042", "CodiceCatastale": "L736", "Comune": "VENEZIA (HOST)", "Provincia": "VE", "Dal": "19500101"},
    {"Istat": "027042", "CodiceCatastale": "L736", "Comune": "VENEZIA 1800 (HOST)", "Provincia": "VE", "Al": "19491231"},
    {"Istat": "028060", "CodiceCatastale": "G224", "Comune": "PADOVA", "Provincia": "PD"},
    {"Istat": "999215", "CodiceCatastale": "", "Comune": "USA DA ISTAT", "Provincia": "E1"},
    {"Istat": "", "CodiceCatastale": "Z404", "Comune": "STATI UNITI D'AMERICA", "Provincia": "EE"}]})json");
  env.RicreaHost();
  env.Contesto().app = env.App();
}

TEST(clsHL7SeparaIndirizzo, SplitsAtTheFirstSeparatorFollowedByADigit) {
  // clang-format off
  const struct { const char* indirizzo; const char* via; const char* civico; } casi[] = {
      {"Via Roma, 12", "Via Roma", "12"}, {"Via Po N. 3", "Via Po", "3"},
      {"Via Po n.3/A", "Via Po", "3/A"}, {"Via Dante; 8", "Via Dante", "8"},
      {"Viale Venezia Num. 10", "Viale Venezia", "10"}, {"Strada Nuova - 14", "Strada Nuova", "14"},
      {"Calle Larga 381 int. 4", "Calle Larga 381 int.", "4"},
      {"Via Milano 12 B", "Via Milano", "12 B"},  // the blank-digit pair keeps the digit
      {"Via Roma, 1234567890123", "Via Roma", "1234567890"},
      {"Piazza San Marco", "Piazza San Marco", ""}, {"", "", ""},
  };
  // clang-format on
  for (const auto& caso : casi) {
    std::string via = "x", civico = "x";
    clsHL7::SeparaIndirizzo(caso.indirizzo, via, civico);
    EXPECT_EQ(via, caso.via) << caso.indirizzo;
    EXPECT_EQ(civico, caso.civico) << caso.indirizzo;
  }
}

TEST(clsHL7Indirizzi, TheFirstAddressOfATypeWinsEvenWithoutTheComponent) {
  Segmenti s(
      "<PID><PID.11><XAD.5>30100</XAD.5><XAD.7>H</XAD.7></PID.11>"
      "<PID.11><XAD.3>VENEZIA</XAD.3><XAD.7>L</XAD.7></PID.11>"
      "<PID.11><XAD.5>30124</XAD.5><XAD.7>L</XAD.7></PID.11></PID>");
  EXPECT_EQ(s.hl7.CittaResidenza(), "VENEZIA");
  EXPECT_EQ(s.hl7.CAPResidenza(), "");
  EXPECT_EQ(s.hl7.CAPDomicilio(), "30100");
}

TEST(clsHL7Nascita, BaseProvinceFallsBackOnTheFiscalCode) {
  AmbienteConHost env;
  struct Caso {
    const char* cf;
    const char* provincia_br;
    const char* citta_br;
    const char* attesa;
  } casi[] = {
      {"BNCGNN80A01L736Y", "", "VENEZIA", "VE"},    // L736 in the host's archive
      {"VRDLCU55C12Z404K", "", "NEW YORK", "EE"},   // a foreign state
      {"BNCGNN80A01L736Y", "TV", "VENEZIA", "TV"},  // the address wins
      {"BNCGNN80A01L736Y", "", "", ""},             // no birth place: no fallback
      {"BNCGNN80A01", "", "VENEZIA", ""},           // too short to hold a place
      {"BNCGNN80A01X999Y", "", "VENEZIA", ""},      // unknown to the host
  };
  for (const auto& caso : casi) {
    Segmenti s(std::string("<PID><PID.3><CX.1>") + caso.cf +
               "</CX.1><CX.5>CF</CX.5></PID.3><PID.11><XAD.3>" + caso.citta_br + "</XAD.3><XAD.4>" +
               caso.provincia_br + "</XAD.4><XAD.7>BR</XAD.7></PID.11></PID>");
    EXPECT_EQ(s.hl7.ProvinciaNascita(), caso.attesa) << caso.cf << " " << caso.citta_br;
  }
}

TEST(clsHL7Nascita, Layout251ForeignBirthTakesTheStateOfTheCadastralCode) {
  testsupport::AmbientePlugin env;
  ArchivioComuni(env);
  Lettore l(CaricaFile(FileProva("anagrafica_251.xml")), "2.5.1");
  auto& [xml, hl7] = l;
  hl7.InitParentNode(xml->SelectNode(xml->rootNode(), "ADR_A19.QUERY_RESPONSE"));
  EXPECT_EQ(hl7.CittaNascita(), "STATI UNITI D'AMERICA");
  EXPECT_EQ(hl7.ProvinciaNascita(), "EE");
  // Without the "F" address the ISTAT code alone names the state.
  util::clsXML::Nodo estero = xml->SelectNode(hl7.ParentNode(), "PID/PID.11[XAD.7='F']");
  ASSERT_NE(estero, nullptr);
  xml->RemoveNode(estero);
  EXPECT_EQ(hl7.CittaNascita(), "USA DA ISTAT");
  EXPECT_EQ(hl7.ProvinciaNascita(), "E1");
}

TEST(clsHL7Nascita, Layout251ItalianBirthPrefersTheLocalFileValidAtTheBirthDate) {
  testsupport::AmbientePlugin env;
  ArchivioComuni(env);
  const std::string nascita_1945 =
      "<PID><PID.7><TS.1>19450101</TS.1></PID.7>"
      "<PID.11><XAD.3>027042</XAD.3><XAD.7>N</XAD.7></PID.11></PID>";
  Lettore l(Messaggio(nascita_1945), "2.5.1");
  auto& hl7 = l.hl7;
  // No municipality file: the host's archive, at the birth date.
  EXPECT_EQ(hl7.CittaNascita(), "VENEZIA 1800 (HOST)");
  EXPECT_EQ(hl7.ProvinciaNascita(), "VE");
  env.CartellaPlugin().Scrivi("SA_COMUNI.csv", kComuniCsv);
  EXPECT_EQ(hl7.CittaNascita(), "VENEZIA VECCHIA");
  // The province never comes from the local file.
  EXPECT_EQ(hl7.ProvinciaNascita(), "VE");
}

TEST(clsHL7ComuneDaIstat, TakesTheRowValidAtTheDateOrStillValidToday) {
  testsupport::AmbientePlugin env;  // today is 6 December 2026
  EXPECT_EQ(clsHL7(core::AccessoDelContesto()).ComuneDaIstat("027042", ""), "");  // no file yet
  env.CartellaPlugin().Scrivi("SA_COMUNI.csv", kComuniCsv);
  struct Caso {
    const char* codice;
    const char* data;
    const char* atteso;
  } casi[] = {
      {"027042", "19450101", "VENEZIA VECCHIA"},
      {"027042", "1960-05-01", "VENEZIA"},
      {"027042", "01/05/1940", "VENEZIA VECCHIA"},
      {"027042", "", "VENEZIA"},              // the expired row is skipped
      {"027042", "197903110920", "VENEZIA"},  // not a date: no reference date
      {"028060", "", ""},                     // expired in 2020
      {"028060", "20100101", "PADOVA"},
      {"028060", "2020-02-29", "PADOVA"},  // a leap day is a date
      {"028060", "2019-02-29", ""},        // not a date: today counts, and the row expired
      {"028060", "31/04/2020", ""},        // April has 30 days in leap years too
      {"099001", "", ""},                  // a short row has no dates
      {"030001", "", "SENZA INIZIO"},      // still valid: the start is not asked
      {"030001", "20100101", ""},          // no start date: not valid at a given date
      {"040012", "", "FORL\xC3\x8C"},      // an 8-bit file is read as Latin-1
      {"z404", "", "STATI UNITI"},         // the code is found in any case
      {"123456", "", ""},
      {"", "", ""},
  };
  for (const auto& caso : casi) {
    EXPECT_EQ(clsHL7(core::AccessoDelContesto()).ComuneDaIstat(caso.codice, caso.data), caso.atteso)
        << caso.codice << " " << caso.data;
  }
}

}  // namespace
}  // namespace qzkiro::hl7
