#include "fhir/EsitoFhir.h"

#include <gtest/gtest.h>


#include "fhir/RicercaFhir.h"
#include "support/DatiPubblici.h"

namespace qzkiro::fhir {
namespace {

std::string Issue(const std::string& severita, const std::string& codice,
                  const std::string& display, const std::string& diagnostica = {}) {
  return "<issue><severity value=\"" + severita + "\"/><code value=\"processing\"/><details>"
         "<coding><system value=\"urn:oid:2.16.840.1.113883.2.9.2.50.6.14.99\"/><code value=\"" +
         codice + "\"/><display value=\"" + display + "\"/></coding></details>" +
         (diagnostica.empty() ? "" : "<diagnostics value=\"" + diagnostica + "\"/>") + "</issue>";
}

std::string Outcome(const std::string& issues) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<OperationOutcome xmlns=\"http://hl7.org/fhir\">" + issues + "</OperationOutcome>";
}

TEST(EsitoFhirTest, OperationOutcomeSeverityDecidesTheState) {
  const std::string avviso = Issue("warning", "W01", "Codice ICD9 non trovato", "activity[2]");
  const std::string errore = Issue("error", "E17", "Periodo non valido");
  // clang-format off
  const struct { std::string issues; int stato; } casi[] = {
      {avviso, 2}, {avviso + avviso, 2}, {avviso + errore, 3}, {Issue("fatal", "F1", "Errore"), 3},
      {Issue("information", "I1", "Ok"), 3}, {"", 3},
  };
  // clang-format on
  for (const auto& c : casi) {
    EXPECT_EQ(LeggiEsitoFlusso(Outcome(c.issues), FlussoFhir::CarePlan, false).Stato, c.stato)
        << c.issues;
  }
  const EsitoFlusso e = LeggiEsitoFlusso(Outcome(avviso + errore), FlussoFhir::CarePlan, false);
  EXPECT_EQ(e.Errori,
            "W01 - Codice ICD9 non trovato - activity[2]\r\nE17 - Periodo non valido");
  ASSERT_EQ(e.Problemi.size(), 2u);
  EXPECT_EQ(e.Problemi[1].Severita, "error");
  EXPECT_EQ(e.Problemi[1].Tipo, "processing");
  EXPECT_TRUE(e.Voci.empty());
  EXPECT_EQ(e.Ricevuta, "");
}

TEST(EsitoFhirTest, RecognisedCodesAddTheirMessagesByFlow) {
  const std::string gia = Outcome(Issue("error", "ERR_00999", "Risorsa duplicata"));
  EXPECT_EQ(LeggiEsitoFlusso(gia, FlussoFhir::CarePlan, false).Errori,
            "ERR_00999 - Risorsa duplicata\r\n"
            "ERR_00999 - CarePlan gia' creato per il periodo di riferimento selezionato");
  EXPECT_EQ(LeggiEsitoFlusso(gia, FlussoFhir::Indicatori, false).Errori,
            "ERR_00999 - Risorsa duplicata");
  const std::string guasto =
      Outcome(Issue("error", "ERR_6999", "Errore interno") + Issue("error", "9998", "Timeout DB"));
  EXPECT_EQ(LeggiEsitoFlusso(guasto, FlussoFhir::CarePlan, false).Errori,
            "ERR_6999 - Errore interno\r\n9998 - Timeout DB\r\n"
            "Contattare il supporto tecnico di Curalis");
  // clang-format off
  const struct { const char* codice; FlussoFhir flusso; GruppoCodice gruppo; } casi[] = {
      {"ERR_00999", FlussoFhir::CarePlan, GruppoCodice::GiaCreato},
      {"ERR_00999", FlussoFhir::Indicatori, GruppoCodice::Nessuno},
      {"ERR_00099", FlussoFhir::CarePlan, GruppoCodice::ErroreServer},
      {"ERR_00099", FlussoFhir::Indicatori, GruppoCodice::Nessuno},
      {"6999", FlussoFhir::Indicatori, GruppoCodice::ErroreServer},
      {"ERR_9998", FlussoFhir::CarePlan, GruppoCodice::ErroreServer},
      {"ERR_00021", FlussoFhir::CarePlan, GruppoCodice::Asserzione},
      {"ERR_00033", FlussoFhir::Indicatori, GruppoCodice::Asserzione},
      {"ERR_00045", FlussoFhir::CarePlan, GruppoCodice::Asserzione},
      {"ERR_00044", FlussoFhir::CarePlan, GruppoCodice::Nessuno},
      {"", FlussoFhir::CarePlan, GruppoCodice::Nessuno},
  };
  // clang-format on
  for (const auto& c : casi) EXPECT_EQ(GruppoDelCodice(c.codice, c.flusso), c.gruppo) << c.codice;
  EXPECT_TRUE(LeggiEsitoFlusso(Outcome(Issue("error", "ERR_00042", "Asserzione scaduta")),
                               FlussoFhir::CarePlan, false)
                  .RinnovaAsserzione);
  EXPECT_FALSE(LeggiEsitoFlusso(gia, FlussoFhir::CarePlan, false).RinnovaAsserzione);
}

TEST(EsitoFhirTest, TheIndicatorsReportCodeAndDisplayOnly) {
  const ProblemaFhir p{"error", "processing", "E1", "Valore mancante", "Dettaglio", "Traccia", "x"};
  EXPECT_EQ(p.Testo(FlussoFhir::Indicatori), "E1 - Valore mancante");
  EXPECT_EQ(p.Testo(FlussoFhir::CarePlan), "E1 - Valore mancante - Dettaglio - Traccia (x)");
  const ProblemaFhir solo_testo{"error", "processing", "", "", "Dettaglio", "Dettaglio", ""};
  EXPECT_EQ(solo_testo.Testo(FlussoFhir::Indicatori), "Dettaglio");
}

std::string Risposta(const std::string& voci) {
  return "<Bundle xmlns=\"http://hl7.org/fhir\"><id value=\"r1\"/>"
         "<type value=\"transaction-response\"/>" + voci + "</Bundle>";
}

std::string VoceRisposta(const std::string& stato, const std::string& location,
                         const std::string& esito = {}) {
  return "<entry><response><status value=\"" + stato + "\"/>" +
         (location.empty() ? "" : "<location value=\"" + location + "\"/>") +
         "<lastModified value=\"2024-03-05T09:07:04+01:00\"/>" +
         (esito.empty() ? ""
                        : "<outcome><OperationOutcome>" + esito + "</OperationOutcome></outcome>") +
         "</response></entry>";
}

TEST(EsitoFhirTest, AnAcceptedTransactionGivesTheReceiptAndTheDates) {
  const std::string risposta =
      Risposta(VoceRisposta("201 Created", "MessageHeader/m1/_history/1") +
               VoceRisposta("201 Created", "Patient/p7/_history/1") +
               VoceRisposta("200 OK", "CarePlan/123/_history/1") +
               VoceRisposta("202-accepted", "Immunization/i9/_history/2"));
  const EsitoFlusso e = LeggiEsitoFlusso(risposta, FlussoFhir::CarePlan, false);
  EXPECT_EQ(e.Stato, 1);
  EXPECT_EQ(e.Errori + "|" + e.IdRichiesta + "|" + e.Ricevuta + "|" + e.DataElaborazione + "|" +
                e.IdPatient,
            "|123|CarePlan////123|2024-03-05T09:07:04+01:00|p7");
  ASSERT_EQ(e.Voci.size(), 4u);
  EXPECT_EQ(e.Voci[3].Tipo + " " + e.Voci[3].Id, "Immunization i9");
  EXPECT_EQ(LeggiEsitoFlusso(risposta, FlussoFhir::CarePlan, true).Stato, 5);
}

TEST(EsitoFhirTest, WarningsOfAcceptedEntriesFollowTheSuccessLine) {
  const std::string risposta = Risposta(VoceRisposta(
      "201 Created", "CarePlan/5", Issue("warning", "W07", "Attività senza diagnosi")));
  EXPECT_EQ(LeggiEsitoFlusso(risposta, FlussoFhir::CarePlan, false).Errori,
            "Inviato con successo ma con avvisi:\r\nW07 - Attività senza diagnosi");
  const EsitoFlusso annullo = LeggiEsitoFlusso(risposta, FlussoFhir::CarePlan, true);
  EXPECT_EQ(annullo.Stato, 5);
  EXPECT_EQ(annullo.Errori,
            "Eliminato con successo ma con avvisi:\r\nW07 - Attività senza diagnosi");
}

TEST(EsitoFhirTest, ARefusedOrUnlocatedEntry) {
  const EsitoFlusso rifiuto = LeggiEsitoFlusso(
      Risposta(VoceRisposta("201 Created", "CarePlan/5") +
               VoceRisposta("400 Bad Request", "", Issue("error", "E3", "Lotto mancante"))),
      FlussoFhir::CarePlan, false);
  EXPECT_EQ(rifiuto.Stato, 3);
  EXPECT_EQ(rifiuto.Errori, "Risorsa non accettata dal server: 400 Bad Request\r\nE3 - Lotto mancante");
  // Accepted without a location: no receipt to keep.
  const EsitoFlusso senza = LeggiEsitoFlusso(Risposta(VoceRisposta("201 Created", "")),
                                             FlussoFhir::CarePlan, false);
  EXPECT_EQ(senza.Stato, 1);
  EXPECT_EQ(senza.Ricevuta, "");
  EXPECT_EQ(senza.IdRichiesta, "");
  const EsitoFlusso pa = LeggiEsitoFlusso(
      Risposta(VoceRisposta("201 Created", "Practitioner/m/_history/1") +
               VoceRisposta("201 Created", "Observation/o1/_history/1") +
               VoceRisposta("201 Created", "Observation/o2/_history/1")),
      FlussoFhir::Indicatori, false);
  EXPECT_EQ(pa.Ricevuta, "Observation////o1");
  for (const char* s : {"201 created", "201-created", "200 ok", "200-ok", "202-accepted",
                        "202 Accepted", "201 CREATED"}) {
    EXPECT_TRUE(StatoAccettato(s)) << s;
  }
  for (const char* s : {"204 No Content", "201", "400 Bad Request", "", "201  Created"}) {
    EXPECT_FALSE(StatoAccettato(s)) << s;
  }
}

TEST(EsitoFhirTest, ResourcesAndAttachmentsTheServerReturns) {
  const std::string risposta = Risposta(
      "<entry><resource><CarePlan><id value=\"123\"/>"
      "<extension url=\"urn:allegato\"><valueBase64Binary value=\"UERGLTEuNA==\"/></extension>"
      "<status value=\"active\"/><activity><detail><status value=\"completed\"/>"
      "<description value=\"Elaborato\"/></detail></activity></CarePlan></resource>"
      "<response><status value=\"201 Created\"/><location value=\"CarePlan/123/_history/1\"/>"
      "</response></entry><entry><resource><Patient><id value=\"p9\"/></Patient></resource>"
      "<response><status value=\"200 OK\"/></response></entry>");
  const EsitoFlusso e = LeggiEsitoFlusso(risposta, FlussoFhir::CarePlan, false);
  EXPECT_EQ(e.ServerStatus, "active");
  EXPECT_EQ(e.ServerComment, "Elaborato");
  EXPECT_EQ(e.Allegato, "UERGLTEuNA==");
  EXPECT_EQ(e.IdPatient, "p9");  // the resource says it where no location does
}

TEST(EsitoFhirTest, AnswersThatAreNoFhirAnswer) {
  // clang-format off
  const struct { const char* risposta; FlussoFhir flusso; const char* errori; } casi[] = {
      {"<html><body>502 Bad Gateway</body></html>", FlussoFhir::CarePlan,
       "Formato di risposta del messaggio sconosciuto."},
      {"<Bundle xmlns=\"http://hl7.org/fhir\"><type value=\"transaction-response\"/></Bundle>",
       FlussoFhir::CarePlan, "Formato di risposta del messaggio sconosciuto."},
      {"Service Unavailable", FlussoFhir::CarePlan, "Il server ha risposto in modo anomalo."},
      {"", FlussoFhir::CarePlan, "Il server ha risposto in modo anomalo."},
      {"<Bundle><entry>", FlussoFhir::CarePlan, "Il server ha risposto in modo anomalo."},
      {"{\"resourceType\":\"Bundle\"}", FlussoFhir::Indicatori, "Risposta non valida."},
  };
  // clang-format on
  for (const auto& c : casi) {
    const EsitoFlusso e = LeggiEsitoFlusso(c.risposta, c.flusso, false);
    EXPECT_EQ(e.Stato, 3) << c.risposta;
    EXPECT_EQ(e.Errori, c.errori) << c.risposta;
  }
  EXPECT_EQ(ErroriOperationOutcome("<Patient xmlns=\"http://hl7.org/fhir\"/>",
                                   FlussoFhir::CarePlan),
            "");
}

std::string Esempio(const std::string& nome) {
  return testsupport::TestoPubblico("fhir-stu3/examples/" + nome);
}

TEST(EsitoFhirCampioni, ThePublicOperationOutcomesAndSearchBundle) {
  QZKIRO_RICHIEDE_CAMPIONI();
  const EsitoFlusso e =
      LeggiEsitoFlusso(Esempio("operationoutcome-example.xml"), FlussoFhir::CarePlan, false);
  EXPECT_EQ(e.Stato, 3);
  EXPECT_EQ(e.Errori,
            "The code \"W\" is not known and not legal in this context - "
            "Acme.Interop.FHIRProcessors.Patient.processGender line 2453 (/f:Person/f:gender)");
  // clang-format off
  const struct { const char* file; const char* severita; const char* tipo; } casi[] = {
      {"operationoutcome-example-allok.xml", "information", "informational"},
      {"operationoutcome-example-break-the-glass.xml", "information", "suppressed"},
      {"operationoutcome-example-exception.xml", "error", "exception"},
      {"operationoutcome-example-searchfail.xml", "fatal", "code-invalid"},
      {"operationoutcome-example-validationfail.xml", "error", "structure"},
  };
  // clang-format on
  for (const auto& c : casi) {
    const EsitoFlusso letto = LeggiEsitoFlusso(Esempio(c.file), FlussoFhir::CarePlan, false);
    ASSERT_EQ(letto.Problemi.size(), 1u) << c.file;
    EXPECT_EQ(letto.Problemi[0].Severita, c.severita);
    EXPECT_EQ(letto.Problemi[0].Tipo, c.tipo);
    EXPECT_NE(letto.Errori, "") << c.file;
    EXPECT_EQ(letto.Stato, 3) << c.file;
  }
  const std::string ricerca = Esempio("bundle-example.xml");
  EXPECT_EQ(PrimoIdRisorsa(ricerca, "MedicationRequest"), "3123");
  EXPECT_EQ(PrimoIdRisorsa(ricerca, "Patient"), "");
  EXPECT_EQ(LeggiEsitoFlusso(ricerca, FlussoFhir::CarePlan, false).Errori,
            "Formato di risposta del messaggio sconosciuto.");
}

}  // namespace
}  // namespace qzkiro::fhir
