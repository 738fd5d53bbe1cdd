#include <gtest/gtest.h>

#include <map>

#include "core/AccessoContesto.h"
#include "hl7/ElencoProprieta.h"
#include "hl7/ProveHL7.h"
#include "hl7/clsHL7.h"
#include "support/AmbientePlugin.h"

namespace qzkiro::hl7 {
namespace {

using prove::CaricaFile;
using prove::FileProva;
using prove::Messaggio;

// A reader on the root of a fixture.
struct Lettura {
  explicit Lettura(const std::string& fixture) : xml(CaricaFile(FileProva(fixture))) {
    hl7.InitXML(*xml);
  }
  std::unique_ptr<util::clsXML> xml;
  clsHL7 hl7{core::AccessoDelContesto()};
};

// A reader on a message made of these segments.
struct Segmenti {
  explicit Segmenti(const std::string& segmenti) : xml(Messaggio(segmenti)) { hl7.InitXML(*xml); }
  std::unique_ptr<util::clsXML> xml;
  clsHL7 hl7{core::AccessoDelContesto()};
};

TEST(clsHL7Medici, TheFirstRepetitionWithANationalOrFiscalCodeNamesThePhysician) {
  Lettura l("ricovero.xml");
  EXPECT_EQ(l.hl7.MedicoSSNCognome(), "ROSSI");
  EXPECT_EQ(l.hl7.MedicoSSNNome(), "MARIO");
  EXPECT_EQ(l.hl7.MedicoSSNCodiceFiscale(), "RSSMRA70A01L736S");
  // The CODMAT repetition names no physician, but gives the AUSL code.
  EXPECT_EQ(l.hl7.MedicoPrescrittoreCognome(), "VERDI");
  EXPECT_EQ(l.hl7.MedicoPrescrittoreCodiceFiscale(), "VRDPLA60B02F205Z");
  EXPECT_EQ(l.hl7.MedicoPrescrittoreRuolo(), "MMG");
  EXPECT_EQ(l.hl7.MedicoPrescrittoreCodiceAUSL(), "050503");
  EXPECT_EQ(l.hl7.MedicoREF(),
            "Medico: VERDI PAOLO\r\nCF: VRDPLA60B02F205Z\r\nAUSL Appartenenza: 050503\r\n"
            "Ruolo: MMG");
}

TEST(clsHL7Medici, ReferringPhysicianTextKeepsOnlyTheLinesItHas) {
  Segmenti solo_ruolo("<PV1><PV1.8><XCN.7>MMG</XCN.7><XCN.13>CF</XCN.13></PV1.8></PV1>");
  EXPECT_EQ(solo_ruolo.hl7.MedicoREF(), "Ruolo: MMG");
  Segmenti nessuno("<PV1><PV1.8><XCN.1>X</XCN.1><XCN.13>RI</XCN.13></PV1.8></PV1>");
  EXPECT_EQ(nessuno.hl7.MedicoREF(), "");
  EXPECT_EQ(nessuno.hl7.MedicoREFCodiceFiscale(), "");
}

TEST(clsHL7Medici, RelationshipGPComesFromGT1) {
  auto xml = CaricaFile(FileProva("anagrafica_base.xml"));
  clsHL7 hl7{core::AccessoDelContesto()};
  hl7.InitXML(*xml);
  hl7.InitParentNode(xml->SelectNode(xml->rootNode(), "ADR_A19.QUERY_RESPONSE"));
  EXPECT_EQ(hl7.MedicoRapportoCognome(), "ROSSI");
  EXPECT_EQ(hl7.MedicoRapportoNome(), "MARIO");
  EXPECT_EQ(hl7.MedicoRapportoCodiceRegionale(), "123456");
  EXPECT_EQ(hl7.DataInizioRapporto(), "20200101");
  EXPECT_EQ(hl7.DataFineRapporto(), "20261231");
  EXPECT_EQ(hl7.MedicoSSNCognome(), "ROSSI");  // the "RI" substitute is skipped
  EXPECT_EQ(hl7.ConsensoLivello(), "2");
  EXPECT_EQ(hl7.ConsensoRaccoltoDa(), "MMG");
  EXPECT_EQ(hl7.ConsensoData(), "20250101");
}

TEST(clsHL7Consenso, DigitLevelsAndNDateFromTheStartOthersFromTheEnd) {
  struct Caso {
    const char* livello;
    const char* data;
  } casi[] = {{"0", "INIZIO"}, {"9", "INIZIO"}, {"N", "INIZIO"},  {"S", "FINE"},
              {"", "FINE"},    {"n", "FINE"},   {"10", "INIZIO"}, {"90", "FINE"}};
  for (const auto& caso : casi) {
    Segmenti s(std::string("<NK1><NK1.8>INIZIO</NK1.8><NK1.9>FINE</NK1.9><NK1.22><CE.1>") +
               caso.livello + "</CE.1></NK1.22></NK1>");
    EXPECT_EQ(s.hl7.ConsensoData(), caso.data) << caso.livello;
  }
}

TEST(clsHL7Ricoveri, AdmissionFieldsAreReadAndDecoded) {
  // The summary below checks the fields it lists; these are the others.
  Lettura l("ricovero.xml");
  EXPECT_FALSE(l.hl7.DayHospital());
  EXPECT_EQ(l.hl7.Struttura(), "050101");
  EXPECT_EQ(l.hl7.Mobilita(), "Paziente non ambulabile");
  EXPECT_EQ(l.hl7.DataRicovero(), "20261120");
  EXPECT_EQ(l.hl7.DataDimissione(), "202611281030");
  EXPECT_EQ(l.hl7.IDPrescrizione(), "ORD-7");
  EXPECT_EQ(l.hl7.StatoPrescrizione(), "Prenotata/Accettata");
  EXPECT_EQ(l.hl7.DataPrescrizione(), "20261118");
}

TEST(clsHL7Ricoveri, DiagnosesInPV2WinOverDG1) {
  Segmenti s(
      "<PV2><PV2.3><CE.2>Da PV2</CE.2></PV2.3><PV2.4><CE.2>Fine PV2</CE.2></PV2.4></PV2>"
      "<DG1><DG1.3><CE.2>Da DG1</CE.2></DG1.3><DG1.6>A</DG1.6></DG1>");
  EXPECT_EQ(s.hl7.DiagnosiRicovero(), "Da PV2");
  EXPECT_EQ(s.hl7.DiagnosiDimissione(), "Fine PV2");
  EXPECT_EQ(s.hl7.TipoVisita(), "Da PV2");
}

TEST(clsHL7Ricoveri, IdentifiersFallBackInOrder) {
  Segmenti obx("<OBX><OBX.3><CE.1>OSS-1</CE.1></OBX.3></OBX>");
  EXPECT_EQ(obx.hl7.ID(), "OSS-1");
  Segmenti pv1(
      "<PV1><PV1.50><CX.1>V-50</CX.1></PV1.50></PV1><ORC><ORC.2><EI.1>O-2</EI.1></ORC.2>"
      "<ORC.3><EI.1>REF-3</EI.1></ORC.3></ORC>");
  EXPECT_EQ(pv1.hl7.IDPrescrizione(), "V-50");
  EXPECT_EQ(pv1.hl7.IDReferto(), "REF-3");
  Segmenti txa(
      "<TXA><TXA.14><EI.1>T-14</EI.1></TXA.14></TXA><PV1><PV1.50><CX.1>V</CX.1>"
      "</PV1.50></PV1>");
  EXPECT_EQ(txa.hl7.IDPrescrizione(), "T-14");
}

TEST(clsHL7Ricoveri, SubjectIsTheFirstTextObservation) {
  Segmenti s(
      "<OBX><OBX.2>NM</OBX.2><OBX.5>7</OBX.5></OBX>"
      "<OBX><OBX.2>TX</OBX.2><OBX.5>Primo testo</OBX.5></OBX>"
      "<OBX><OBX.2>TX</OBX.2><OBX.5>Secondo</OBX.5></OBX>");
  EXPECT_EQ(s.hl7.Oggetto(), "Primo testo");
}

TEST(clsHL7Esenzioni, ExpiryOfNeverEndingExemptionsIsEmpty) {
  Lettura l("ricovero.xml");
  const auto esenzioni = l.hl7.ListaEsenzioni();
  ASSERT_EQ(esenzioni.size(), 3u);
  EXPECT_EQ(l.hl7.CodiceEsenzione(esenzioni[0]), "048");
  EXPECT_EQ(l.hl7.DataScadenzaEsenzione(esenzioni[0]), "");  // 9999
  EXPECT_EQ(l.hl7.CodiceEsenzione(esenzioni[1]), "013");
  EXPECT_EQ(l.hl7.DataScadenzaEsenzione(esenzioni[1]), "20271231");
  EXPECT_EQ(l.hl7.DataScadenzaEsenzione(esenzioni[2]), "");  // 3000
  EXPECT_EQ(l.hl7.CodiceEsenzione(nullptr), "");
}

TEST(clsHL7Notifiche, NotificationFieldsAreRead) {
  Lettura l("notifica.xml");
  EXPECT_EQ(l.hl7.TipoNotifica(), "REF");
  EXPECT_EQ(l.hl7.StatoNotifica(), "AU");
  EXPECT_EQ(l.hl7.IDNotifica(), "NOT-77");
  EXPECT_EQ(l.hl7.DataNotifica(), "20261201093000");  // numeric TXA.4 without TS.1
  EXPECT_EQ(l.hl7.DataNotificaGenerica(), "20261130");
  EXPECT_EQ(l.hl7.DataDocumento(), "20261129");
  EXPECT_EQ(l.hl7.IDDocumentoNotificato(), "DOC-1");
  EXPECT_EQ(l.hl7.IDDocumentoSostituito(), "DOC-0");
  EXPECT_EQ(l.hl7.TipoDocumentoNotificato(), "LAB");
  EXPECT_EQ(l.hl7.FormatoDocumentoNotificato(), "CDA");
  EXPECT_EQ(l.hl7.DescrizioneTipoDocumento(), "Referto di laboratorio");
  EXPECT_EQ(l.hl7.StatoPrescrizioneDema(), "Erogata");
  EXPECT_EQ(l.hl7.IDPrescrizione(), "PRESC-9");
  EXPECT_EQ(l.hl7.StrutturaRefertante(), "Laboratorio analisi Belluno");
  // What `kiro hl7 show` prints: every property once, under its member's name.
  std::map<std::string, std::string> valori;
  for (const auto& p : ProprietaTesto()) {
    EXPECT_TRUE(valori.emplace(p.nome, (l.hl7.*p.leggi)()).second) << p.nome;
  }
  EXPECT_EQ(valori.at("DescrizioneNotifica"), "Referto di laboratorio");
  EXPECT_EQ(valori.at("IDNotifica"), "NOT-77");
}

TEST(clsHL7Notifiche, NotificationDateNeedsATimeStampOrANumber) {
  struct Caso {
    const char* campo;
    const char* atteso;
  } casi[] = {{"<TXA.4><TS.1>20260101</TS.1></TXA.4>", "20260101"},
              {"<TXA.4>20260102</TXA.4>", "20260102"},
              {"<TXA.4>01/02/2026</TXA.4>", ""},
              {"<TXA.4>ieri</TXA.4>", ""},
              {"", ""}};
  for (const auto& caso : casi) {
    Segmenti s(std::string("<TXA>") + caso.campo + "</TXA>");
    EXPECT_EQ(s.hl7.DataNotifica(), caso.atteso) << caso.campo;
  }
}

TEST(clsHL7Notifiche, DescriptionFallsBackFromDocumentTypeToNotificationType) {
  struct Caso {
    const char* tipo_notifica;
    const char* tipo_documento;
    const char* codice;
    const char* codice_usato;
    const char* testo;
  } casi[] = {
      {"PUB", "LAB", "", "LAB", "Referto di laboratorio"},
      {"PUB", "kiro_tc001", "", "PUB", "Notifica di nuovo Publish"},  // 10 characters
      {"kiro_tc005", "", "", "kiro_tc005", "Lettera di Dimissione"},
      {"PUB", "LAB", "RV2", "RV2", "Revoca per decesso"},
      {"PUB", "LAB", "XX", "PUB", "Notifica di nuovo Publish"},
      {"PUB", "LAB", "ZZZ", "ZZZ", ""},
      {"PUB", "LAB", "ref", "ref", ""},  // codes are compared exactly
  };
  for (const auto& caso : casi) {
    Segmenti s(std::string("<TXA><TXA.2>") + caso.tipo_notifica + "</TXA.2><TXA.21>" +
               caso.tipo_documento + "</TXA.21></TXA>");
    std::string codice = caso.codice;
    EXPECT_EQ(s.hl7.DescrizioneNotifica(codice), caso.testo) << caso.codice;
    EXPECT_EQ(codice, caso.codice_usato);
  }
  Segmenti revoca("<TXA><TXA.2>RV5</TXA.2><TXA.21>ZZZ</TXA.21></TXA>");
  EXPECT_EQ(revoca.hl7.MotivoFineRapporto(), "Revoca per compimento 14 anni");
  EXPECT_EQ(revoca.hl7.DescrizioneTipoDocumento(), "");
}

TEST(clsHL7Ricoveri, SummaryListsTheAdmissionAndTheDischarge) {
  testsupport::AmbientePlugin env;
  env.Contesto().app = env.App();
  Lettura l("ricovero.xml");
  EXPECT_EQ(l.hl7.DatiRicovero(),
            "Ricovero (ID: RIC-0001)<BR><BR>"
            "Data Ammissione: 20/11/2026<BR>"
            "Struttura: 050101 Ospedale di Belluno<BR>"
            "Reparto: CARDIOLOGIA<BR>"
            "Codice Nosologico: 2026000123<BR>"
            "Regime: Ricovero Ordinario<BR>"
            "Proposta di Ricovero: Paziente inviato all'istituto di cura con proposta del medico "
            "di base<BR>"
            "Tipo di Ricovero: Ricovero d'urgenza<BR>"
            "Medico Prescrittore: VERDI PAOLO<BR>"
            "Medico Accettante: NERI ANNA<BR>"
            "Diagnosi di ammissione: Angina instabile<BR>"
            "Motivo del Ricovero: Dolore toracico<BR>"
            "<BR>Dimissione:<BR>"
            "Data Dimissione: 28/11/2026 10:30<BR>"
            "Modalità di Dimissione: Dimissione protetta presso strutture extraospedaliere "
            "\u2013 (RSA, Casa Protetta, Hospice)<BR>"
            "Diagnosi di dimissione: Scompenso cardiaco<BR>");
}

TEST(clsHL7Ricoveri, SummaryOfAnAdmissionStillOpenHasNoDischargePart) {
  testsupport::AmbientePlugin env;
  env.Contesto().app = env.App();
  Segmenti s("<PV1><PV1.2>D</PV1.2><PV1.3><PL.4><HD.1>099999</HD.1></PL.4></PV1.3></PV1>");
  EXPECT_EQ(s.hl7.DatiRicovero(),
            "Ricovero (ID: )<BR><BR>Struttura: 099999<BR>Regime: Ricovero in Day Hospital<BR>");
}

}  // namespace
}  // namespace qzkiro::hl7
