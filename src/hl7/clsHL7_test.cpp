#include "hl7/clsHL7.h"

#include <gtest/gtest.h>

#include "hl7/LettoreHL7_test.h"
#include "support/DatiPubblici.h"

namespace qzkiro::hl7 {
namespace {

using prove::AmbienteConHost;
using prove::Attesi;
using prove::CaricaFile;
using prove::FileProva;
using prove::Messaggio;
using prove::Segmenti;

// A reader on the first query response group of a fixture.
struct Lettura : prove::Lettore {
  explicit Lettura(const std::string& fixture, const std::string& versione = {})
      : Lettore(CaricaFile(FileProva(fixture)), versione) {
    hl7.InitParentNode(xml->SelectNode(xml->rootNode(), "ADR_A19.QUERY_RESPONSE"));
  }
};

TEST(clsHL7Impostazione, InitXMLPointsAtTheRootAndNothingGivesFalse) {
  auto xml = Messaggio("<PID><PID.8>F</PID.8></PID>");
  clsHL7 hl7{core::AccessoDelContesto()};
  EXPECT_EQ(hl7.BoundaryPrefix, "--");
  EXPECT_EQ(hl7.Versione, "");
  EXPECT_TRUE(hl7.InitXML(*xml));
  EXPECT_EQ(hl7.ParentNode(), xml->rootNode());
  EXPECT_EQ(hl7.Documento(), xml.get());  // the caller's document, not a copy
  EXPECT_EQ(hl7.Sesso(), "F");
  EXPECT_FALSE(hl7.InitXML(nullptr));
  EXPECT_EQ(hl7.Sesso(), "");
}

TEST(clsHL7Impostazione, ReadsFollowTheDocumentAndTheCurrentNodeWithoutCaching) {
  Segmenti s("<G><PID><PID.8>F</PID.8></PID></G><G><PID><PID.8>M</PID.8></PID></G>");
  auto& [xml, hl7] = s;
  EXPECT_EQ(hl7.Sesso(), "");  // the root holds groups, not segments
  const auto gruppi = xml->SelectNodeList(xml->rootNode(), "G");
  hl7.InitParentNode(gruppi[0]);
  EXPECT_EQ(hl7.Sesso(), "F");
  xml->SetTextNode(gruppi[0], "PID/PID.8", "U");
  EXPECT_EQ(hl7.Sesso(), "U");
  hl7.InitParentNode(gruppi[1]);
  EXPECT_EQ(hl7.Sesso(), "M");
  hl7.InitParentNode(nullptr);
  EXPECT_EQ(hl7.Sesso(), "");
}

TEST(clsHL7Anagrafica, BaseLayoutReadsNamesIdentifiersAndContacts) {
  Attesi(Lettura("anagrafica_base.xml").hl7,
         {"Cognome=BIANCHI", "Nome=GIOVANNI", "Sesso=M", "DataNascita=19800101",
          "CodiceFiscale=BNCGNN80A01L736Y", "Tessera=0501234567", "MPI=MPI0000042",
          "RegioneASLAssistenza=050101", "RegioneASLResidenza=050103", "Telefono=0415200000",
          "Cellulare=", "Email=giovanni.bianchi@example.invalid", "Nazionalita=ITALIANA"});
}

TEST(clsHL7Anagrafica, Layout251ReadsTypedPhonesAndUnitsOfOtherSegments) {
  Lettura l("anagrafica_251.xml", "2.5.1");
  Attesi(l.hl7, {"Telefono=0498200000", "Cellulare=3330000000", "Email=luca.verdi@example.invalid",
                 "RegioneASLAssistenza=050106", "RegioneASLResidenza=050103"});
  // Any other version text keeps the base rules (the phone from XTN.7).
  l.hl7.Versione = "2.5";
  Attesi(l.hl7, {"Telefono=0000", "Email=", "RegioneASLAssistenza="});
}

TEST(clsHL7Anagrafica, BaseLayoutSplitsTheStreetLineOfEachAddressType) {
  Attesi(Lettura("anagrafica_base.xml").hl7,
         {"IndirizzoDomicilio=Via Roma", "CivicoDomicilio=12", "CittaDomicilio=MESTRE",
          "ProvinciaDomicilio=VE", "CAPDomicilio=30172", "IstatDomicilio=027042",
          "IndirizzoResidenza=Calle Larga 381 int.", "CivicoResidenza=4", "CittaResidenza=VENEZIA",
          "CAPResidenza=30124", "IstatNascita=027042", "CittaNascita=VENEZIA"});
}

TEST(clsHL7Anagrafica, Layout251ResolvesIstatCodesThroughTheHost) {
  AmbienteConHost env;
  Attesi(Lettura("anagrafica_251.xml", "2.5.1").hl7,
         {"IndirizzoDomicilio=Via Garibaldi", "CivicoDomicilio=7/B", "CittaDomicilio=PADOVA",
          "ProvinciaDomicilio=PD", "IstatDomicilio=028060", "IndirizzoResidenza=Calle Larga",
          "CivicoResidenza=381", "CittaResidenza=VENEZIA", "ProvinciaResidenza=VE",
          "IstatNascita=215"});
}

TEST(clsHL7Anagrafica, FiscalCodePrefersTheLastCFOverNNITA) {
  // clang-format off
  struct Caso { const char* identificativi; const char* atteso; } casi[] = {
      {"<PID.3><CX.1>N1</CX.1><CX.5>NNITA</CX.5></PID.3>"
       "<PID.3><CX.1>C1</CX.1><CX.5>CF</CX.5></PID.3>",
       "C1"},
      {"<PID.3><CX.1>N1</CX.1><CX.5>NNITA</CX.5></PID.3>", "N1"},
      {"<PID.3><CX.1>N1</CX.1><CX.5>NNITA</CX.5></PID.3>"
       "<PID.3><CX.1>N2</CX.1><CX.5>NNITA</CX.5></PID.3>",
       "N2"},
      {"<PID.3><CX.1>C1</CX.1><CX.5>CF</CX.5></PID.3>"
       "<PID.3><CX.1>N1</CX.1><CX.5>NNITA</CX.5></PID.3>"
       "<PID.3><CX.1>C2</CX.1><CX.5>CF</CX.5></PID.3>",
       "C2"},
      {"<PID.3><CX.1>X</CX.1><CX.5>PI</CX.5></PID.3>", ""},
  };
  // clang-format on
  for (const auto& caso : casi) {
    Segmenti s(std::string("<PID>") + caso.identificativi + "</PID>");
    EXPECT_EQ(s.hl7.CodiceFiscale(), caso.atteso) << caso.identificativi;
  }
}

TEST(clsHL7Anagrafica, UnitCodesOfFourOrFiveCharactersArePaddedToSix) {
  struct Caso {
    const char* codice;
    const char* atteso;
  } casi[] = {{"50101", "050101"}, {"5010", "005010"},     {"050101", "050101"},
              {"501", "501"},      {"0501011", "0501011"}, {"", ""}};
  for (const auto& caso : casi) {
    Segmenti s(std::string("<PID><PID.3><CX.4><HD.1>") + caso.codice +
               "</HD.1></CX.4><CX.5>CS</CX.5></PID.3></PID>");
    EXPECT_EQ(s.hl7.RegioneASLAssistenza(), caso.atteso) << caso.codice;
  }
}

TEST(clsHL7Anagrafica, PatientShowsTheBirthDateInTheHostForm) {
  AmbienteConHost env;
  Lettura l("anagrafica_base.xml");
  EXPECT_EQ(l.hl7.Paziente(), "BIANCHI GIOVANNI (01/01/1980)");
  EXPECT_EQ(Segmenti("<PID><PID.5><XPN.2>ANNA</XPN.2></PID.5></PID>").hl7.Paziente(), "ANNA");
}

TEST(clsHL7Anagrafica, Nationality251IsLookedUpWith999BeforeAThreeDigitCode) {
  AmbienteConHost env;
  Lettura l("anagrafica_251.xml", "2.5.1");
  EXPECT_EQ(l.hl7.Nazionalita(), "STATI UNITI D'AMERICA");  // 999215 in the host's archive
  l.hl7.Versione.clear();
  EXPECT_EQ(l.hl7.Nazionalita(), "STATUNITENSE");
}

TEST(clsHL7SenzaHost, HostValuesStayAsFarAsComputed) {
  core::NuovoContesto();  // no host application
  Lettura base("anagrafica_base.xml");
  EXPECT_EQ(base.hl7.Paziente(), "BIANCHI GIOVANNI (19800101)");
  EXPECT_EQ(base.hl7.ProvinciaNascita(), "");
  Lettura l("anagrafica_251.xml", "2.5.1");
  EXPECT_EQ(l.hl7.Nazionalita(), "");
  EXPECT_EQ(l.hl7.CittaResidenza(), "");
  EXPECT_EQ(l.hl7.CittaNascita(), "");
  EXPECT_EQ(l.hl7.Cognome(), "VERDI");
  EXPECT_EQ(l.hl7.CDA(), nullptr);
  EXPECT_EQ(l.hl7.LastError(), "");
  auto notifica = CaricaFile(FileProva("notifica.xml"));
  l.hl7.InitXML(*notifica);
  EXPECT_FALSE(l.hl7.MimeCDA().empty());
  EXPECT_EQ(l.hl7.CDA(), nullptr);  // no MIME parser
  EXPECT_EQ(l.hl7.LastError(), "");
  EXPECT_TRUE(l.hl7.EstraiFiles().empty());
  EXPECT_FALSE(l.hl7.SalvaFileMIME("/nonexistent/x"));
  EXPECT_EQ(clsHL7(core::AccessoDelContesto()).DecodificaMime(l.hl7.MimeCDA()), "");
}

TEST(clsHL7Campioni, AdtA17SwapReadsTheFirstPatientInBothLayouts) {
  QZKIRO_RICHIEDE_CAMPIONI();
  auto xml = CaricaFile(testsupport::DatoPubblico("hl7v2-xml/hapi-samples/adt_a17.xml"));
  clsHL7 hl7{core::AccessoDelContesto()};
  ASSERT_TRUE(hl7.InitXML(*xml));
  // NNESP and HC are no Italian codes; the patient class "I" is an admission.
  Attesi(hl7, {"Cognome=SaEZ", "Nome=ALBERTO", "DataNascita=19750322", "Sesso=M",
               "Telefono=921787865", "Nazionalita=EspaNa",
               "CodiceFiscale=", "CittaDomicilio=051159", "IstatDomicilio=", "Struttura=050101",
               "CodiceNosologico=11111111111111", "RegimeRicovero=Ricovero"});
  EXPECT_FALSE(hl7.DayHospital());
  // The 2.5.1 layout reads the street and number components (and no XTN.12).
  hl7.Versione = "2.5.1";
  Attesi(hl7, {"IndirizzoDomicilio=NiNa Bonita", "CivicoDomicilio=78", "IstatDomicilio=051159",
               "Telefono="});
}

TEST(clsHL7Campioni, OruR01GroupsAreReadOneAtATime) {
  QZKIRO_RICHIEDE_CAMPIONI();
  auto xml = CaricaFile(testsupport::DatoPubblico("hl7v2-xml/hapi-samples/ed_issue.xml"));
  clsHL7 hl7{core::AccessoDelContesto()};
  hl7.InitXML(*xml);
  auto* root = xml->rootNode();
  hl7.InitParentNode(xml->SelectNode(root, "ORU_R01.PATIENT_RESULT/ORU_R01.PATIENT"));
  EXPECT_EQ(hl7.Cognome(), "Doe");
  EXPECT_EQ(hl7.Nome(), "John");
  EXPECT_EQ(hl7.DataNascita(), "197903110920");
  EXPECT_EQ(hl7.MedicoSSNCodiceFiscale(), "");  // PV1 sits in the visit group
  hl7.InitParentNode(xml->SelectNode(root, "ORU_R01.PATIENT_RESULT/ORU_R01.ORDER_OBSERVATION"));
  EXPECT_EQ(hl7.DataVisita(), "20040328134623");
  const auto osservazioni = xml->SelectNodeList(
      root, "ORU_R01.PATIENT_RESULT/ORU_R01.ORDER_OBSERVATION/ORU_R01.OBSERVATION");
  ASSERT_EQ(osservazioni.size(), 3u);
  hl7.InitParentNode(osservazioni[1]);
  EXPECT_EQ(hl7.ID(), "18750-0");
  EXPECT_EQ(hl7.MimeCDA(), "");  // a PDF in ED.5, not a MIME text
  EXPECT_EQ(hl7.CDA(), nullptr);
  EXPECT_EQ(hl7.LastError(), "");
}

TEST(clsHL7Campioni, EmptySegmentsGiveEmptyValuesForEveryProperty) {
  QZKIRO_RICHIEDE_CAMPIONI();
  core::NuovoContesto();
  auto xml = CaricaFile(testsupport::DatoPubblico("hl7v2-xml/hapi-samples/weird_message.xml"));
  clsHL7 hl7{core::AccessoDelContesto()};
  hl7.InitXML(*xml);
  for (const auto& proprieta : ProprietaTesto()) {
    const std::string valore = (hl7.*proprieta.leggi)();
    if (proprieta.nome == "RegimeRicovero") {
      EXPECT_EQ(valore, "Ricovero");
    } else {
      EXPECT_EQ(valore, "") << proprieta.nome;
    }
  }
  EXPECT_TRUE(hl7.ListaEsenzioni().empty());
}

}  // namespace
}  // namespace qzkiro::hl7
