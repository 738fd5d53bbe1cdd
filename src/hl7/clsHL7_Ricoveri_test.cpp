#include <gtest/gtest.h>

#include <map>

#include "hl7/LettoreHL7_test.h"

namespace qzkiro::hl7 {
namespace {

using prove::AmbienteConHost;
using prove::Attesi;
using prove::CaricaFile;
using prove::FileProva;
using prove::Segmenti;

// A reader on the root of a fixture.
struct Lettura : prove::Lettore {
  explicit Lettura(const std::string& fixture) : Lettore(CaricaFile(FileProva(fixture))) {}
};

TEST(clsHL7Medici, TheFirstRepetitionWithANationalOrFiscalCodeNamesThePhysician) {
  // The CODMAT repetition names no physician, but gives the AUSL code.
  Attesi(
      Lettura("ricovero.xml").hl7,
      {"MedicoSSNCognome=ROSSI", "MedicoSSNNome=MARIO", "MedicoSSNCodiceFiscale=RSSMRA70A01L736S",
       "MedicoPrescrittoreCognome=VERDI", "MedicoPrescrittoreCodiceFiscale=VRDPLA60B02F205Z",
       "MedicoPrescrittoreRuolo=MMG", "MedicoPrescrittoreCodiceAUSL=050503",
       "MedicoREF=Medico: VERDI PAOLO\r\nCF: VRDPLA60B02F205Z\r\nAUSL Appartenenza: 050503\r\n"
       "Ruolo: MMG"});
}

TEST(clsHL7Medici, ReferringPhysicianTextKeepsOnlyTheLinesItHas) {
  Attesi(Segmenti("<PV1><PV1.8><XCN.7>MMG</XCN.7><XCN.13>CF</XCN.13></PV1.8></PV1>").hl7,
         {"MedicoREF=Ruolo: MMG"});
  Attesi(Segmenti("<PV1><PV1.8><XCN.1>X</XCN.1><XCN.13>RI</XCN.13></PV1.8></PV1>").hl7,
         {"MedicoREF=", "MedicoREFCodiceFiscale="});
}

TEST(clsHL7Medici, RelationshipGPComesFromGT1) {
  Lettura l("anagrafica_base.xml");
  l.hl7.InitParentNode(l.xml->SelectNode(l.xml->rootNode(), "ADR_A19.QUERY_RESPONSE"));
  // MedicoSSNCognome: the "RI" substitute is skipped.
  Attesi(l.hl7, {"MedicoRapportoCognome=ROSSI", "MedicoRapportoNome=MARIO",
                 "MedicoRapportoCodiceRegionale=123456", "DataInizioRapporto=20200101",
                 "DataFineRapporto=20261231", "MedicoSSNCognome=ROSSI", "ConsensoLivello=2",
                 "ConsensoRaccoltoDa=MMG", "ConsensoData=20250101"});
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
  Attesi(l.hl7, {"Struttura=050101", "Mobilita=Paziente non ambulabile", "DataRicovero=20261120",
                 "DataDimissione=202611281030", "IDPrescrizione=ORD-7",
                 "StatoPrescrizione=Prenotata/Accettata", "DataPrescrizione=20261118"});
}

TEST(clsHL7Ricoveri, DiagnosesIdentifiersAndSubjectFallBackInOrder) {
  const struct {
    const char* segmenti;
    std::vector<std::string_view> attesi;
  } casi[] = {
      // Diagnoses in PV2 win over DG1.
      {"<PV2><PV2.3><CE.2>Da PV2</CE.2></PV2.3><PV2.4><CE.2>Fine PV2</CE.2></PV2.4></PV2>"
       "<DG1><DG1.3><CE.2>Da DG1</CE.2></DG1.3><DG1.6>A</DG1.6></DG1>",
       {"DiagnosiRicovero=Da PV2", "DiagnosiDimissione=Fine PV2", "TipoVisita=Da PV2"}},
      {"<OBX><OBX.3><CE.1>OSS-1</CE.1></OBX.3></OBX>", {"ID=OSS-1"}},
      {"<PV1><PV1.50><CX.1>V-50</CX.1></PV1.50></PV1><ORC><ORC.2><EI.1>O-2</EI.1></ORC.2>"
       "<ORC.3><EI.1>REF-3</EI.1></ORC.3></ORC>",
       {"IDPrescrizione=V-50", "IDReferto=REF-3"}},
      {"<TXA><TXA.14><EI.1>T-14</EI.1></TXA.14></TXA><PV1><PV1.50><CX.1>V</CX.1></PV1.50></PV1>",
       {"IDPrescrizione=T-14"}},
      // The subject is the first text observation.
      {"<OBX><OBX.2>NM</OBX.2><OBX.5>7</OBX.5></OBX>"
       "<OBX><OBX.2>TX</OBX.2><OBX.5>Primo testo</OBX.5></OBX>"
       "<OBX><OBX.2>TX</OBX.2><OBX.5>Secondo</OBX.5></OBX>",
       {"Oggetto=Primo testo"}},
  };
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.segmenti);
    Attesi(Segmenti(caso.segmenti).hl7, caso.attesi);
  }
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
  // DataNotifica: a numeric TXA.4 without TS.1.
  Attesi(l.hl7,
         {"TipoNotifica=REF", "StatoNotifica=AU", "IDNotifica=NOT-77",
          "DataNotifica=20261201093000", "DataNotificaGenerica=20261130", "DataDocumento=20261129",
          "IDDocumentoNotificato=DOC-1", "IDDocumentoSostituito=DOC-0",
          "TipoDocumentoNotificato=LAB", "FormatoDocumentoNotificato=CDA",
          "DescrizioneTipoDocumento=Referto di laboratorio", "StatoPrescrizioneDema=Erogata",
          "IDPrescrizione=PRESC-9", "StrutturaRefertante=Laboratorio analisi Belluno"});
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
  AmbienteConHost env;
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
  AmbienteConHost env;
  Segmenti s("<PV1><PV1.2>D</PV1.2><PV1.3><PL.4><HD.1>099999</HD.1></PL.4></PV1.3></PV1>");
  EXPECT_EQ(s.hl7.DatiRicovero(),
            "Ricovero (ID: )<BR><BR>Struttura: 099999<BR>Regime: Ricovero in Day Hospital<BR>");
}

}  // namespace
}  // namespace qzkiro::hl7
