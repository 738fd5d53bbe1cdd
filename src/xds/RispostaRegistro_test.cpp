#include "xds/RispostaRegistro.h"

#include <gtest/gtest.h>


#include "support/DatiPubblici.h"
#include "xds/Consensi.h"
#include "xds/RigaDocumento.h"

namespace qzkiro::xds {
namespace {

std::string Classificazione(const std::string& schema, const std::string& codice,
                            const std::string& nome) {
  return "<rim:Classification classificationScheme=\"urn:uuid:0\" nodeRepresentation=\"" + codice +
         "\"><rim:Slot name=\"codingScheme\"><rim:ValueList><rim:Value>" + schema +
         "</rim:Value></rim:ValueList></rim:Slot><rim:Name><rim:LocalizedString value=\"" + nome +
         "\"/></rim:Name></rim:Classification>";
}

std::string Slot(const std::string& nome, const std::string& valore) {
  return "<rim:Slot name=\"" + nome + "\"><rim:ValueList><rim:Value>" + valore +
         "</rim:Value></rim:ValueList></rim:Slot>";
}

std::string Voce(const std::string& id, const std::string& titolo, const std::string& tipo,
                 const std::string& creazione, const std::string& extra = {}) {
  return "<rim:ExtrinsicObject id=\"urn:uuid:" + id + "\" mimeType=\"application/pkcs7-mime\">" +
         Slot("creationTime", creazione) + Slot("repositoryUniqueId", "2.16.840.1.113883.2.9.2.50") +
         extra + "<rim:Name><rim:LocalizedString value=\"" + titolo + "\"/></rim:Name>" +
         Classificazione("regioneveneto formatCodes v1", "F1", "Formato CDA") +
         Classificazione("regioneveneto practiceSettingCodes v1", "R1", "Laboratorio") +
         Classificazione("regioneveneto healthcareFacilityTypeCodes v1", "S1", "Ospedale") +
         Classificazione("2.16.840.1.113883.6.1", "11502-2", tipo) + extra +
         "<rim:ExternalIdentifier identificationScheme=\"urn:uuid:x\" value=\"" + id +
         "\"><rim:Name><rim:LocalizedString value=\"XDSDocumentEntry.uniqueId\"/></rim:Name>"
         "</rim:ExternalIdentifier></rim:ExtrinsicObject>";
}

std::string Risposta(const std::string& oggetti,
                     const std::string& stato = "ResponseStatusType:Success") {
  return "<?xml version=\"1.0\"?><s:Envelope xmlns:s=\"http://www.w3.org/2003/05/soap-envelope\">"
         "<s:Body><q:AdhocQueryResponse xmlns:q=\"urn:oasis:names:tc:ebxml-regrep:xsd:query:3.0\""
         " xmlns:rim=\"urn:oasis:names:tc:ebxml-regrep:xsd:rim:3.0\" status=\"urn:oasis:names:tc:"
         "ebxml-regrep:" + stato + "\"><rim:RegistryObjectList>" + oggetti +
         "</rim:RegistryObjectList></q:AdhocQueryResponse></s:Body></s:Envelope>";
}

TEST(RispostaRegistroTest, EntriesGiveTheHostRowAndExcludedTypesAreMarked) {
  const auto r = LeggiRispostaRegistro(
      Risposta(Voce("1.1", "Referto di laboratorio", "Referto di laboratorio", "20260315101500",
                    Slot("serviceStartTime", "20260314")) +
               Voce("1.2", "Ricetta", "Dispensazione", "20260316") +
               Voce("1.3", "Ordine", "Richiesta (order)", "20260316") +
               Voce("1.4", "Workflow", "Documento di Workflow", "20260316")));
  ASSERT_TRUE(r.errore.empty()) << r.errore;
  ASSERT_EQ(r.voci.size(), 4u);
  const auto& v = r.voci[0];
  EXPECT_EQ(v.inizio, "20260314");
  EXPECT_EQ(v.mime_type, "application/pkcs7-mime");
  EXPECT_EQ(ParametriRiga(v),
            (std::vector<std::pair<std::string, std::string>>{
                {"Parametro.formato", "Formato CDA"},
                {"Parametro.data", "20260315101500"},
                {"Parametro.documento", "Referto di laboratorio"},
                {"Parametro.struttura", "Ospedale"},
                {"Parametro.reparto", "Laboratorio"},
                {"Parametro.tipoDocumento", "Referto di laboratorio"},
                {"Parametro.idDocumento", "1.1"},
                {"Parametro.idRepository", "2.16.840.1.113883.2.9.2.50"}}));
  EXPECT_FALSE(TipoEscluso(v));
  for (int i = 1; i < 4; ++i) EXPECT_TRUE(TipoEscluso(r.voci[i])) << r.voci[i].tipo.descrizione;
}

TEST(RispostaRegistroTest, FailuresSayWhatTheServerSaid) {
  struct Caso {
    std::string risposta, errore;
  } casi[] = {
      {"non XML", "La risposta del registro non è un documento XML"},
      {"<Envelope><Body><Fault><faultcode>S:Server</faultcode><faultstring>Errore interno"
       "</faultstring></Fault></Body></Envelope>",
       "S:Server - Errore interno"},
      {"<e:Envelope xmlns:e=\"http://www.w3.org/2003/05/soap-envelope\"><e:Body><e:Fault><e:Code>"
       "<e:Value>e:Sender</e:Value></e:Code><e:Reason><e:Text>Asserzione scaduta</e:Text>"
       "</e:Reason></e:Fault></e:Body></e:Envelope>",
       "e:Sender - Asserzione scaduta"},
      {"<Envelope><Body><EntriesResponse><errori><codice>E12</codice><descrizione>Paziente ignoto"
       "</descrizione></errori><errori/></EntriesResponse></Body></Envelope>",
       "E12 - Paziente ignoto\r\nErrore non specificato"},
      {Risposta("<rim:RegistryErrorList/>", "ResponseStatusType:Failure"),
       "Il registro ha risposto con esito urn:oasis:names:tc:ebxml-regrep:ResponseStatusType:Failure"},
  };
  for (const auto& c : casi) EXPECT_EQ(LeggiRispostaRegistro(c.risposta).errore, c.errore);
  EXPECT_FALSE(LeggiRispostaRegistro("non XML").xml);
  EXPECT_TRUE(LeggiRispostaRegistro(casi[1].risposta).xml) << "a fault is an XML answer";

  // Two errors of the registry, one per line, and no entries.
  const auto due = LeggiRispostaRegistro(
      "<AdhocQueryResponse status=\"urn:oasis:names:tc:ebxml-regrep:ResponseStatusType:Failure\">"
      "<RegistryErrorList><RegistryError codeContext=\"Primo\" errorCode=\"XDSRegistryError\"/>"
      "<RegistryError errorCode=\"XDSUnknownPatientId\"/></RegistryErrorList>"
      "<RegistryObjectList>" + Voce("9", "x", "x", "2026") + "</RegistryObjectList>"
      "</AdhocQueryResponse>");
  EXPECT_EQ(due.errore, "Primo\r\nXDSUnknownPatientId");
  EXPECT_TRUE(due.voci.empty());
}

std::string ClassConsenso(const std::string& ramo, const std::string& nome,
                          const std::string& schema = "regioneveneto typeCodes list v1") {
  return Classificazione(schema, "urn:oid:2.16.840.1.113883.2.9.2.50.4.13." + ramo, nome);
}

TEST(ConsensiTest, TheMostRecentDocumentOfEachKindDecides) {
  const auto r = LeggiRispostaRegistro(Risposta(
      Voce("a1", "Consenso", "c", "20250101", ClassConsenso("1", "Consenso alla alimentazione del FSEr")) +
      // Later by serviceStartTime although created earlier; the date is shorter.
      Voce("a2", "consenso revocato ", "c", "20240101",
           Slot("serviceStartTime", "20250601") + ClassConsenso("2", " consenso all'alimentazione del fser")) +
      Voce("c1", "Consenso", "c", "20260101120000",
           ClassConsenso("13", "consenso alla consultazione per tutti gli operatori coinvolti nel pdta del paziente")) +
      Voce("c0", "Consenso", "c", "20251231235959", ClassConsenso("100", "consenso alla consultazione fser")) +
      Voce("p1", "Consenso", "c", "20230101", ClassConsenso("100", "consenso all'alimentazione del fser con documenti pregressi")) +
      // Not a consent: a consultation text under the feeding node, a known
      // node without the region's scheme, an unknown text.
      Voce("x1", "Consenso", "c", "20270101", ClassConsenso("1", "consenso alla consultazione fser")) +
      Voce("x2", "Consenso", "c", "20270101", ClassConsenso("2", "consenso alla consultazione fser", "altro")) +
      Voce("x3", "Consenso", "c", "20270101", ClassConsenso("2", "consenso generico"))));
  ASSERT_EQ(r.voci.size(), 8u);
  const auto c = Consensi(r.voci);
  EXPECT_EQ(c[TipoConsenso::Alimentazione].id_documento, "a2");
  EXPECT_TRUE(c[TipoConsenso::Alimentazione].revocato);
  EXPECT_EQ(c[TipoConsenso::Alimentazione].data, "20250601");
  EXPECT_EQ(c[TipoConsenso::Consultazione].id_documento, "c1");
  EXPECT_FALSE(c[TipoConsenso::Consultazione].revocato);
  EXPECT_EQ(c[TipoConsenso::Pregresso].id_documento, "p1");
  EXPECT_EQ(c.ultimo.id_documento, "c1");
  for (int i = 5; i < 8; ++i) EXPECT_TRUE(TipiDi(r.voci[i]).empty()) << r.voci[i].id_documento;
  EXPECT_TRUE(Consensi({}).ultimo.data.empty());
  EXPECT_FALSE(Consensi({})[TipoConsenso::Pregresso].revocato) << "no document: not revoked";
  // Every digit of the time counts, and a date alone is its midnight.
  EXPECT_TRUE(PiuRecente("20260101120001", "20260101120000"));
  EXPECT_FALSE(PiuRecente("20260101", "20260101000000"));
  EXPECT_TRUE(PiuRecente("20260102", "20260101235959"));
}

TEST(RispostaRegistroCampioniTest, AnswersOfOtherRegistriesReadByTheXdsSchemes) {
  QZKIRO_RICHIEDE_CAMPIONI();
  const auto wxdsb = LeggiRispostaRegistro(testsupport::TestoPubblico("xds-ebxml/wxdsb/samples/query_res.xml"));
  ASSERT_TRUE(wxdsb.errore.empty()) << wxdsb.errore;
  ASSERT_EQ(wxdsb.voci.size(), 5u);
  EXPECT_EQ(wxdsb.voci[0].id_documento, "2.16.840.1.113883.2.9.2.999.4.4^123456");
  EXPECT_EQ(wxdsb.voci[0].tipo.codice, "60591-5");
  EXPECT_EQ(wxdsb.voci[0].reparto.descrizione, "Medicina Generale");
  EXPECT_EQ(wxdsb.voci[0].id_paziente, "RSSMRA75C03F839K^^^&2.16.840.1.113883.2.9.4.3.2&ISO");

  const auto ini = LeggiRispostaRegistro(testsupport::TestoPubblico("xds-ebxml/gtw-ini-client/query_response_leafclass.xml"));
  ASSERT_EQ(ini.voci.size(), 1u);
  EXPECT_EQ(ini.voci[0].repository, "2.16.840.1.113883.2.9.2.0.4.5.3");
  EXPECT_EQ(ini.voci[0].struttura.codice, "SistemaTS");
  EXPECT_EQ(ini.voci[0].formato.codice, "SistemaTS-Prestazione");

  const auto svizzera = LeggiRispostaRegistro(testsupport::TestoPubblico("xds-ebxml/ehealthsuisse-EPR-by-example/samples/ITI-18_response_raw.xml"));
  ASSERT_TRUE(svizzera.errore.empty()) << svizzera.errore;
  ASSERT_EQ(svizzera.voci.size(), 1u);
  EXPECT_FALSE(svizzera.voci[0].id_documento.empty());
  EXPECT_FALSE(svizzera.voci[0].creazione.empty());
}

}  // namespace
}  // namespace qzkiro::xds
