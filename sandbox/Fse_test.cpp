#include "sandbox/Fse.h"

#include <gtest/gtest.h>
#include <libxml/xpath.h>

#include <fstream>
#include <iterator>
#include <set>

#include "sandbox/CdaSchemi.h"
#include "sandbox/FseDati.h"
#include "sandbox/FseRisposte.h"
#include "sandbox/FseSchemi.h"
#include "sandbox/prova/ClienteCurl.h"
#include "sandbox/prova/Strumenti.h"
#include "support/DatiPubblici.h"
#include "util/Libxml.h"

namespace qzkiro::sandbox {
namespace {

using prova::Primo;
using prova::Xpath;

using S = ServiziFse::Servizio;
using Testi = std::vector<std::string>;
using Slot = std::pair<std::string, std::string>;

constexpr const char* kMessageId = "urn:uuid:0f5e8a3c-1b2d-4c6e-9f70-a1b2c3d4e5f6";

constexpr const char* kUnici =
    "//*[local-name()='ExternalIdentifier'][*/*/@value='XDSDocumentEntry.uniqueId']/@value";
constexpr const char* kMotivo = "//*[local-name()='Reason']/*";

// A multipart/related answer split into its parts: headers and bytes.
struct Parte {
  std::string intestazioni, corpo;
};
std::vector<Parte> Parti(const std::string& corpo, const std::string& confine) {
  std::vector<Parte> parti;
  const std::string separatore = "--" + confine;
  for (auto inizio = corpo.find(separatore); inizio != std::string::npos;) {
    inizio += separatore.size();
    if (corpo.compare(inizio, 2, "--") == 0) break;
    const auto testa = corpo.find("\r\n\r\n", inizio);
    auto fine = corpo.find("\r\n" + separatore, testa);
    if (testa == std::string::npos) break;
    const bool ultima = fine == std::string::npos;
    if (ultima) fine = corpo.size();
    parti.push_back(
        {corpo.substr(inizio + 2, testa - inizio - 2), corpo.substr(testa + 4, fine - testa - 4)});
    inizio = ultima ? std::string::npos : fine + 2;
  }
  return parti;
}

std::string Parametro(const std::string& tipo, const std::string& nome) {
  const auto dove = tipo.find(nome + "=\"");
  if (dove == std::string::npos) return {};
  const auto inizio = dove + nome.size() + 2;
  return tipo.substr(inizio, tipo.find('"', inizio) - inizio);
}

class FseTest : public ::testing::Test {
 protected:
  Pki pki = Pki::DellaCompilazione();
  Sandbox sandbox{pki};
  IdentityProvider idp{sandbox, pki.ChiaveIdp()};
  ServiziFse fse{sandbox, pki, &idp};
  std::string asserzione;  // the provider's assertion, as it answered it

  void SetUp() override {
    idp.AggiungiUtente("demo", "Kiro.2026");
    asserzione = prova::Accedi(
        sandbox, pki,
        "<env:Body><saml:AttributeStatement xmlns:saml=\"urn:oasis:names:tc:SAML:2.0:assertion\">"
        "<saml:Attribute Name=\"urn:oasis:names:tc:xspa:1.0:subject:purposeofuse\">"
        "<saml:AttributeValue>TREATMENT</saml:AttributeValue></saml:Attribute>"
        "</saml:AttributeStatement></env:Body>");
    ASSERT_FALSE(asserzione.empty());
  }

  std::string Busta(S s, const std::string& corpo, std::string azione = {},
                    std::string id = kMessageId, std::string to = "https://fse.example.invalid",
                    std::optional<std::string> saml = std::nullopt) const {
    if (azione.empty()) azione = ServiziFse::Azione(s);
    std::string testa = "<wsa:Action>" + azione + "</wsa:Action><wsa:MessageID>" + id +
                        "</wsa:MessageID><wsa:ReplyTo><wsa:Address>http://www.w3.org/2005/08/"
                        "addressing/anonymous</wsa:Address></wsa:ReplyTo>";
    if (!to.empty()) testa += "<wsa:To>" + to + "</wsa:To>";
    const std::string sicurezza = saml.value_or(asserzione);
    if (!sicurezza.empty()) {
      testa +=
          "<wsse:Security xmlns:wsse=\"http://docs.oasis-open.org/wss/2004/01/"
          "oasis-200401-wss-wssecurity-secext-1.0.xsd\">" +
          sicurezza + "</wsse:Security>";
    }
    return "<soap:Envelope xmlns:soap=\"http://www.w3.org/2003/05/soap-envelope\" "
           "xmlns:wsa=\"http://www.w3.org/2005/08/addressing\"><soap:Header>" +
           testa + "</soap:Header><soap:Body>" + corpo + "</soap:Body></soap:Envelope>";
  }

  prova::Esito Posta(S s, const std::string& busta, std::string tipo = {}) {
    if (tipo.empty()) {
      tipo = "application/soap+xml;charset=UTF-8;action=\"" + std::string(ServiziFse::Azione(s)) +
             "\"";
    }
    return prova::Esegui(prova::Tls(sandbox, pki, fse.Percorso(s), "POST", busta,
                                    {"Content-Type: " + tipo}));
  }

  static std::string Query(const std::vector<Slot>& slot, std::string id = fse::kFindDocuments) {
    std::string xml =
        "<query:AdhocQueryRequest xmlns:query=\"urn:oasis:names:tc:ebxml-regrep:xsd:query:3.0\" "
        "xmlns:rim=\"urn:oasis:names:tc:ebxml-regrep:xsd:rim:3.0\"><query:ResponseOption "
        "returnType=\"LeafClass\" returnComposedObjects=\"true\"/><rim:AdhocQuery id=\"" +
        id + "\">";
    for (const auto& [nome, valore] : slot) {
      xml += "<rim:Slot name=\"" + nome + "\"><rim:ValueList><rim:Value>" + EscapeXml(valore) +
             "</rim:Value></rim:ValueList></rim:Slot>";
    }
    return xml + "</rim:AdhocQuery></query:AdhocQueryRequest>";
  }
  static std::vector<Slot> Paziente(const std::string& mpi, std::vector<Slot> altri = {}) {
    altri.insert(
        altri.begin(),
        {{"$XDSDocumentEntryPatientId", "'" + mpi + "^^^&2.16.840.1.113883.2.9.2.50.4.1.2&ISO'"},
         {"$XDSDocumentEntryStatus", "('urn:oasis:names:tc:ebxml-regrep:StatusType:Approved')"}});
    return altri;
  }
  std::set<std::string> Trovati(const std::vector<Slot>& slot,
                                std::string id = fse::kFindDocuments) {
    const prova::Esito e = Posta(S::kRegistry, Busta(S::kRegistry, Query(slot, std::move(id))));
    EXPECT_EQ(Primo(e.corpo, "//*[local-name()='AdhocQueryResponse']/@status"),
              "urn:oasis:names:tc:ebxml-regrep:ResponseStatusType:Success")
        << e.corpo;
    const Testi unici = Xpath(e.corpo, kUnici);
    return {unici.begin(), unici.end()};
  }

  static std::string Retrieve(const std::string& documento,
                              const std::string& repository = fse::kRepository) {
    return "<xdsb:RetrieveDocumentSetRequest xmlns:xdsb=\"urn:ihe:iti:xds-b:2007\">"
           "<xdsb:DocumentRequest><xdsb:RepositoryUniqueId>" +
           repository + "</xdsb:RepositoryUniqueId><xdsb:DocumentUniqueId>" + documento +
           "</xdsb:DocumentUniqueId></xdsb:DocumentRequest></xdsb:RetrieveDocumentSetRequest>";
  }
  // The parts of a retrieval answer, after checking its Content-Type.
  std::vector<Parte> Recupera(const std::string& documento, prova::Esito* esito = nullptr) {
    const prova::Esito e = Posta(S::kRetrieve, Busta(S::kRetrieve, Retrieve(documento)));
    const std::string tipo = e.Intestazione("Content-Type");
    EXPECT_TRUE(tipo.starts_with("multipart/related;")) << tipo << e.corpo.substr(0, 500);
    EXPECT_EQ(Parametro(tipo, "type"), "application/xop+xml");
    EXPECT_EQ(Parametro(tipo, "start-info"), "application/soap+xml");
    if (esito) *esito = e;
    return Parti(e.corpo, Parametro(tipo, "boundary"));
  }

  static std::string Qry(const Testi& qrf5, const std::string& msh9 = "QRY^A19^QRY_A19") {
    const Testi msg = {msh9.substr(0, 3), msh9.substr(4, 3), msh9.substr(8)};
    const auto m = [&](std::size_t i) { return msg[i]; };
    std::string qrf = "<QRF.1>RETEMMG</QRF.1><QRF.4>RSSMRA70A01L736S</QRF.4>";
    for (const std::string& v : qrf5) qrf += "<QRF.5>" + v + "</QRF.5>";
    return "<QRY_A19 xmlns=\"urn:hl7-org:v2xml\"><MSH><MSH.1>|</MSH.1><MSH.2>^~\\&amp;</MSH.2>"
           "<MSH.3><HD.2>Curalis</HD.2></MSH.3><MSH.7><TS.1>20260305102030</TS.1></MSH.7>"
           "<MSH.9><MSG.1>" +
           m(0) + "</MSG.1><MSG.2>" + m(1) + "</MSG.2><MSG.3>" + m(2) +
           "</MSG.3></MSH.9><MSH.10>Q0001</MSH.10><MSH.11><PT.1>P</PT.1></MSH.11><MSH.12>"
           "<VID.1>2.5.1</VID.1></MSH.12></MSH><QRD><QRD.1><TS.1>202603051020</TS.1></QRD.1>"
           "<QRD.2>D</QRD.2><QRD.3>I</QRD.3><QRD.4>449979630</QRD.4><QRD.7><CQ.1>1</CQ.1>"
           "<CQ.2><CE.1>RD</CE.1></CQ.2></QRD.7><QRD.8><XCN.1>RSSMRA70A01L736S</XCN.1></QRD.8>"
           "<QRD.9><CE.1>APN</CE.1></QRD.9><QRD.10><CE.1>DEM</CE.1></QRD.10></QRD><QRF>" +
           qrf + "</QRF></QRY_A19>";
  }
};

TEST_F(FseTest, RefusesWhatBreaksTheBindingTheAddressingOrTheAssertion) {
  const std::string query = Query(Paziente(fse::kMpiRossi));
  const std::string altra = "urn:ihe:iti:2007:RetrieveDocumentSet";
  const std::string estranea =
      "<saml:Assertion xmlns:saml=\"urn:oasis:names:tc:SAML:2.0:assertion\" ID=\"_falsa\" "
      "Version=\"2.0\" IssueInstant=\"2026-03-05T10:20:30Z\"><saml:Issuer>altro</saml:Issuer>"
      "</saml:Assertion>";
  struct Caso {
    std::string busta, tipo, motivo;
  };
  const std::vector<Caso> casi = {
      {Busta(S::kRegistry, query), "text/xml; charset=utf-8", "Content-Type non ammesso"},
      {Busta(S::kRegistry, query), "application/soap+xml;action=\"" + altra + "\"",
       "Azione SOAP non corrispondente al servizio: '" + altra + "'"},
      {Busta(S::kRegistry, query), "application/soap+xml", "Azione SOAP non corrispondente"},
      {Busta(S::kRegistry, query, altra), "", "wsa:Action non corrispondente"},
      {Busta(S::kRegistry, query, {}, "urn:uuid:0F5E8A3C-1B2D-4C6E-9F70-A1B2C3D4E5F6"), "",
       "wsa:MessageID non valido"},
      {Busta(S::kRegistry, query, {}, "0f5e8a3c-1b2d-4c6e-9f70-a1b2c3d4e5f6"), "",
       "wsa:MessageID non valido"},
      {Busta(S::kRegistry, query, {}, kMessageId, ""), "", "wsa:To mancante"},
      {Busta(S::kRegistry, query, {}, kMessageId, "x", ""), "", "ERR_00011 - Asserzione mancante"},
      {Busta(S::kRegistry, query, {}, kMessageId, "x", estranea), "",
       "ERR_00011 - Asserzione non valida"},
      {Busta(S::kRegistry, Retrieve(fse::kDocPdf)), "", "Richiesta inattesa"},
  };
  for (const Caso& c : casi) {
    const prova::Esito e = Posta(S::kRegistry, c.busta, c.tipo);
    EXPECT_EQ(e.stato, 400) << c.motivo;
    EXPECT_EQ(Primo(e.corpo, "//*[local-name()='Code']/*"), "env:Sender") << c.motivo;
    EXPECT_TRUE(Primo(e.corpo, kMotivo).starts_with(c.motivo)) << Primo(e.corpo, kMotivo);
  }
  const prova::Esito buona = Posta(S::kRegistry, Busta(S::kRegistry, query));
  EXPECT_EQ(buona.stato, 200) << buona.corpo;
  EXPECT_TRUE(buona.Intestazione("Content-Type").starts_with("application/soap+xml"));
  EXPECT_EQ(Primo(buona.corpo, "//*[local-name()='RelatesTo']"), kMessageId);
}

// What the services answer to the requests the add-on makes (the document
// list, consents, summaries and process documents, every kind of document
// retrieved, the patient index, publications) is driven end to end by
// tests/integration/fse_test.cpp; here, what they refuse, the queries the
// add-on does not make and the shape of the answers and faults.

TEST_F(FseTest, FindDocumentsFiltersByDatesAndOnlyTheRegionsPatientIds) {
  using namespace fse;
  const auto dal = [](const char* d) { return Slot{"$XDSDocumentEntryCreationTimeFrom", d}; };
  const auto al = [](const char* d) { return Slot{"$XDSDocumentEntryCreationTimeTo", d}; };
  const Slot referto{"$XDSDocumentEntryType", "('11502-2')"};
  const std::vector<std::pair<std::vector<Slot>, std::set<std::string>>> casi = {
      {Paziente(kMpiRossi, {dal("20260105"), al("20260120")}),
       {kDocCdaFirmato, kDocPdfFirmato, kDocPdf, kDocPatientSummary}},
      {Paziente(kMpiRossi, {dal("20260106"), al("20260119")}),
       {kDocPdfFirmato, kDocPatientSummary}},
      {Paziente(kMpiRossi, {referto, dal("20260106")}), {kDocPdfConCda}},
      {Paziente("MPI9999999"), {}},
      {{{"$XDSDocumentEntryPatientId", "'MPI0000001^^^&1.2.3&ISO'"},
        {"$XDSDocumentEntryStatus", "('urn:oasis:names:tc:ebxml-regrep:StatusType:Approved')"}},
       {}},
  };
  for (const auto& [slot, attesi] : casi) {
    EXPECT_EQ(Trovati(slot), attesi) << slot.back().first << " = " << slot.back().second;
  }
  EXPECT_EQ(
      Trovati({{"$XDSDocumentEntryUniqueId", "('" + std::string(kDocPdf) + "')"}}, kGetDocuments),
      std::set<std::string>{kDocPdf});
}

TEST_F(FseTest, QueryWithoutPatientOrOfUnknownKindFailsWithAnErrorList) {
  const std::vector<std::pair<std::string, std::string>> casi = {
      {Query({{"$XDSDocumentEntryStatus",
               "('urn:oasis:names:tc:ebxml-regrep:StatusType:Approved')"}}),
       "Parametro $XDSDocumentEntryPatientId mancante"},
      {Query(Paziente(fse::kMpiRossi), "urn:uuid:00000000-0000-0000-0000-000000000000"),
       "Query non supportata: urn:uuid:00000000-0000-0000-0000-000000000000"}};
  for (const auto& [query, contesto] : casi) {
    const prova::Esito e = Posta(S::kRegistry, Busta(S::kRegistry, query));
    EXPECT_EQ(Primo(e.corpo, "//*[local-name()='AdhocQueryResponse']/@status"),
              "urn:oasis:names:tc:ebxml-regrep:ResponseStatusType:Failure");
    EXPECT_EQ(Xpath(e.corpo, "//*[local-name()='RegistryError']/@codeContext"), Testi{contesto});
  }
}

TEST_F(FseTest, RetrievalIsAnXopMultipartWhoseDocumentPartIsTheStoredBytes) {
  for (const char* id : {fse::kDocCdaFirmato, fse::kDocPdfFirmato, fse::kDocCda, fse::kDocPdf,
                         fse::kDocPdfConCda, fse::kDocTipoIgnoto}) {
    SCOPED_TRACE(id);
    const auto parti = Recupera(id);
    ASSERT_EQ(parti.size(), 2u);
    EXPECT_NE(parti[0].intestazioni.find("Content-Type: application/xop+xml"), std::string::npos);
    EXPECT_TRUE(parti[0].corpo.starts_with("<?xml"));
    const std::string& xml = parti[0].corpo;
    EXPECT_EQ(Primo(xml, "//*[local-name()='RegistryResponse']/@status"),
              "urn:oasis:names:tc:ebxml-regrep:ResponseStatusType:Success");
    EXPECT_EQ(Primo(xml, "//*[local-name()='DocumentUniqueId']"), id);
    EXPECT_EQ(Primo(xml, "//*[local-name()='mimeType']"), fse::CercaDocumento(id)->mime);
    const std::string href = Primo(xml, "//*[local-name()='Include']/@href");
    ASSERT_TRUE(href.starts_with("cid:")) << href;
    EXPECT_NE(parti[1].intestazioni.find("Content-ID: <" + href.substr(4) + ">"), std::string::npos)
        << parti[1].intestazioni;
    EXPECT_NE(parti[1].intestazioni.find("Content-Transfer-Encoding: binary"), std::string::npos);
    EXPECT_EQ(parti[1].corpo, fse.Documento(id).value());
  }
}

// The add-on reads the embedded report (EachMimeTypeOfTheRepository…); the
// cross-reference table is what other PDF readers need.
TEST_F(FseTest, EveryOffsetOfThePdfWithCdaPointsAtItsObject) {
  const std::string pdf = fse.Documento(fse::kDocPdfConCda).value();
  const auto xref = pdf.rfind("\nxref\n") + 1;
  ASSERT_NE(xref, 0u);
  for (int i = 1; i <= 8; ++i) {
    const auto offset = std::stoul(pdf.substr(xref + 9 + 20 * static_cast<std::size_t>(i), 10));
    EXPECT_EQ(pdf.compare(offset, std::to_string(i).size() + 6, std::to_string(i) + " 0 obj"), 0)
        << i;
  }
  EXPECT_TRUE(pdf.ends_with("%%EOF\n") || pdf.ends_with("%%EOF"));
}

TEST_F(FseTest, UnknownDocumentGivesTheErrorListAndNoDocumentPart) {
  for (const auto& [repository, errore] : std::vector<std::pair<std::string, std::string>>{
           {fse::kRepository, "XDSDocumentUniqueIdError"}, {"1.2.3", "XDSUnknownRepositoryId"}}) {
    const prova::Esito e = Posta(S::kRetrieve, Busta(S::kRetrieve, Retrieve("9.9.9", repository)));
    const auto parti = Parti(e.corpo, Parametro(e.Intestazione("Content-Type"), "boundary"));
    ASSERT_EQ(parti.size(), 1u) << e.corpo;
    EXPECT_EQ(Primo(parti[0].corpo, "//*[local-name()='RegistryResponse']/@status"),
              "urn:oasis:names:tc:ebxml-regrep:ResponseStatusType:Failure");
    EXPECT_EQ(Primo(parti[0].corpo, "//*[local-name()='RegistryError']/@errorCode"), errore);
    EXPECT_EQ(Xpath(parti[0].corpo, "//*[local-name()='DocumentResponse']").size(), 0u);
  }
}

TEST_F(FseTest, PatientIndexSaysWhenItDoesNotKnowThePatientOrTheQuery) {
  const std::string adr = "//*[local-name()='Body']/*[local-name()='ADR_A19']";
  const struct {
    const char* cf;
    const char* msh9;
    const char* msa1;
    const char* ce1;
  } casi[] = {{"XXXXXX00X00X000X", "QRY^A19^QRY_A19", "AE", "204"},
              {fse::kMpiRossi, "QRY^A01^QRY_A01", "AR", "200"}};
  for (const auto& c : casi) {
    SCOPED_TRACE(c.msh9);
    const prova::Esito e = Posta(S::kAnagrafica, Busta(S::kAnagrafica, Qry({c.cf}, c.msh9)));
    ASSERT_EQ(e.stato, 200) << e.corpo;
    EXPECT_EQ(Primo(e.corpo, adr + "/*[local-name()='MSA']/*[local-name()='MSA.1']"), c.msa1);
    EXPECT_EQ(Primo(e.corpo, adr + "//*[local-name()='MSA.2']"), "Q0001");
    EXPECT_EQ(Primo(e.corpo, adr + "//*[local-name()='MSA.6']/*[local-name()='CE.1']"), c.ce1);
    EXPECT_EQ(Xpath(e.corpo, adr + "//*[local-name()='PID']").size(), 0u);
  }
}

// The add-on's reaction to each is in RegistryFailuresReachTheUser… and
// EachMimeTypeOfTheRepository…; here, that each fault has the shape it names.
TEST_F(FseTest, ScriptedFaultsDoWhatTheySay) {
  using E = ServiziFse::Esito;
  const std::string query = Busta(S::kRegistry, Query(Paziente(fse::kMpiRossi)));
  fse.Programma(S::kRegistry, E::kDueErrori);
  fse.Programma(S::kRegistry, E::kFault);
  EXPECT_EQ(
      Xpath(Posta(S::kRegistry, query).corpo, "//*[local-name()='RegistryError']/@codeContext"),
      (Testi{"Errore interno del registro regionale", "Registro occupato: riprovare più tardi"}));
  const prova::Esito fault = Posta(S::kRegistry, query);
  EXPECT_EQ(fault.stato, 500);
  EXPECT_EQ(Primo(fault.corpo, kMotivo), "Servizio FSE temporaneamente non disponibile");
  EXPECT_EQ(Trovati(Paziente(fse::kMpiBianchi)).size(), 0u) << "una sola volta ciascuno";

  const std::string stored = fse.Documento(fse::kDocPdf).value();
  fse.Programma(S::kRetrieve, E::kSenzaChiusura);
  prova::Esito e;
  auto parti = Recupera(fse::kDocPdf, &e);
  EXPECT_TRUE(e.corpo.ends_with(stored)) << "si ferma prima del confine di chiusura";
  fse.Programma(S::kRetrieve, E::kTroncata);
  parti = Recupera(fse::kDocPdf, &e);
  ASSERT_EQ(parti.size(), 2u);
  EXPECT_EQ(parti[1].corpo, stored.substr(0, stored.size() / 2));

  fse.Programma(S::kRetrieve, E::kDocumentoGrande);
  parti = Recupera(fse::kDocPdf);
  ASSERT_EQ(parti.size(), 2u);
  EXPECT_EQ(parti[1].corpo.size(), fse::kByteDocumentoGrande);
  EXPECT_TRUE(parti[1].corpo.starts_with("%PDF-") && parti[1].corpo.ends_with("%%EOF\n"));
  EXPECT_EQ(Primo(parti[0].corpo, "//*[local-name()='mimeType']"), "application/pdf");
}

// ---- Against the public schemas -------------------------------------------------------

class FseCampioni : public FseTest {
 protected:
  std::shared_ptr<const FseSchemi> schemi;
  void SetUp() override {
    FseTest::SetUp();
    std::string errore;
    if (testsupport::CampioniPresenti()) {
      schemi = FseSchemi::Carica(testsupport::CartellaDatiPubblici(), errore);
      ASSERT_TRUE(schemi) << errore;
    }
  }
  std::vector<ViolazioneSchema> Valida(const std::string& xml) const {
    const util::libxml::Documento doc = util::libxml::LeggiMemoria(xml, nullptr, nullptr, 0);
    if (!doc) return {{0, 0, "", "", "", "non ben formato"}};
    return schemi->Valida(doc.get());
  }
};

std::string Descrivi(const std::vector<ViolazioneSchema>& v) {
  return v.empty() ? "" : "riga " + std::to_string(v.front().riga) + ": " + v.front().messaggio;
}

TEST_F(FseCampioni, RequestsBreakingTheEbRsSchemaAreRefused) {
  QZKIRO_RICHIEDE_CAMPIONI();
  ASSERT_TRUE(fse.Validazione());
  std::string fuori_ordine = Query(Paziente(fse::kMpiRossi));
  const auto opzione = fuori_ordine.find("<query:ResponseOption");
  const std::string tag =
      fuori_ordine.substr(opzione, fuori_ordine.find("/>", opzione) + 2 - opzione);
  fuori_ordine.erase(opzione, tag.size());
  fuori_ordine.insert(fuori_ordine.find("</query:AdhocQueryRequest>"), tag);
  std::string senza_ns = Query(Paziente(fse::kMpiRossi));
  senza_ns.replace(senza_ns.find("<rim:Slot "), 10, "<Slot xmlns=\"urn:altro\" ");
  senza_ns.replace(senza_ns.find("</rim:Slot>"), 11, "</Slot>");
  for (const std::string& corpo : {fuori_ordine, senza_ns}) {
    const prova::Esito e = Posta(S::kRegistry, Busta(S::kRegistry, corpo));
    EXPECT_EQ(e.stato, 400);
    EXPECT_TRUE(Primo(e.corpo, kMotivo).starts_with("Richiesta non conforme allo schema: "))
        << Primo(e.corpo, kMotivo);
  }
  const std::string qry = Qry({fse::kMpiRossi});
  std::string qrd_sbagliato = qry;
  qrd_sbagliato.replace(qrd_sbagliato.find("<QRD.2>"), 7, "<QRD.22>");
  qrd_sbagliato.replace(qrd_sbagliato.find("</QRD.2>"), 8, "</QRD.22>");
  EXPECT_TRUE(Primo(Posta(S::kAnagrafica, Busta(S::kAnagrafica, qrd_sbagliato)).corpo, kMotivo)
                  .starts_with("Richiesta non conforme allo schema: segmento QRD"));
  EXPECT_EQ(Posta(S::kAnagrafica, Busta(S::kAnagrafica, qry)).stato, 200);
  EXPECT_EQ(Posta(S::kRetrieve, Busta(S::kRetrieve,
                                      "<xdsb:RetrieveDocumentSetRequest "
                                      "xmlns:xdsb=\"urn:ihe:iti:xds-b:2007\"/>"))
                .stato,
            400);
}

TEST_F(FseCampioni, AnswersConformToEbRsXdsbAndHl7Schemas) {
  QZKIRO_RICHIEDE_CAMPIONI();
  const std::string elenco =
      Posta(S::kRegistry, Busta(S::kRegistry, Query(Paziente(fse::kMpiRossi)))).corpo;
  EXPECT_EQ(Xpath(elenco, kUnici).size(), fse::Documenti().size() - 1);
  EXPECT_EQ(Descrivi(Valida(elenco)), "");
  EXPECT_EQ(
      Descrivi(Valida(fse::RispostaQueryErrori({{"XDSRegistryError", "a"}, {"X", "b"}}, "m"))), "");
  // The retrieval's root part, with the document put back in place of its xop:Include.
  for (const char* id : {fse::kDocCdaFirmato, "9.9.9"}) {
    const auto parti = Recupera(id);
    std::string radice = parti.at(0).corpo;
    if (const auto include = radice.find("<xop:Include"); include != std::string::npos) {
      radice.replace(include, radice.find("/>", include) + 2 - include, "QUJD");
    }
    EXPECT_EQ(Descrivi(Valida(radice)), "") << id;
  }
  for (const char* cf : {regione::kPazienteRossi, fse::kMpiNeri, "NESSUNO"}) {
    const std::string risposta = Posta(S::kAnagrafica, Busta(S::kAnagrafica, Qry({cf}))).corpo;
    const util::libxml::Documento doc = util::libxml::LeggiMemoria(risposta, nullptr, nullptr, 0);
    ASSERT_TRUE(doc) << risposta;
    xmlXPathContextPtr ctx = xmlXPathNewContext(doc.get());
    xmlXPathObjectPtr segmenti = xmlXPathEvalExpression(
        BAD_CAST "//*[local-name()='ADR_A19']//*[string-length(local-name())=3]", ctx);
    EXPECT_GE(segmenti->nodesetval->nodeNr, 3) << cf;
    for (int i = 0; i < segmenti->nodesetval->nodeNr; ++i) {
      EXPECT_EQ(Descrivi(schemi->ValidaSegmento(segmenti->nodesetval->nodeTab[i])), "")
          << cf << " " << segmenti->nodesetval->nodeTab[i]->name;
    }
    xmlXPathFreeObject(segmenti);
    xmlXPathFreeContext(ctx);
  }
}

TEST_F(FseCampioni, StoredCdaDocumentsAreValidCdaR2) {
  QZKIRO_RICHIEDE_CAMPIONI();
  std::string errore;
  const auto cda = CdaSchemi::Carica(testsupport::CartellaDatiPubblici(), errore);
  ASSERT_TRUE(cda) << errore;
  std::vector<std::pair<std::string, std::string>> documenti = {
      {"referto firmato", fse::RefertoLaboratorioRossi()}};
  for (const fse::DocumentoFse& d : fse::Documenti()) {
    // The process document is an XDW workflow document, not a CDA.
    if (d.mime == "application/xml" && std::string_view(d.id) != fse::kDocProcesso) {
      documenti.emplace_back(d.id, fse.Documento(d.id).value());
    }
  }
  for (const auto& [id, xml] : documenti) EXPECT_EQ(PrimoErrore(*cda, xml), "") << id;
  EXPECT_NE(fse.Documento(fse::kDocProcesso)
                ->find(std::string("<xdw:workflowInstanceId>") + fse::kWorkflowInstanceId),
            std::string::npos);
}

// ---- Publications ---------------------------------------------------------------------

// A consent entry (feeding, given) of a ProvideAndRegister request for VERDI.
std::string VoceConsenso(int n, const std::string& unico) {
  const std::string id = "Document0" + std::to_string(n);
  const auto classe = [&](const std::string& schema, const std::string& nodo,
                          const std::string& codifica, const std::string& nome, int k) {
    return "<rim:Classification classificationScheme=\"urn:uuid:" + schema +
           "\" classifiedObject=\"" + id + "\" nodeRepresentation=\"" + nodo + "\" id=\"" + id +
           "_cl0" + std::to_string(k) +
           "\"><rim:Slot name=\"codingScheme\"><rim:ValueList><rim:Value>" + codifica +
           "</rim:Value></rim:ValueList></rim:Slot><rim:Name><rim:LocalizedString value=\"" + nome +
           "\"/></rim:Name></rim:Classification>";
  };
  const auto esterno = [&](const std::string& schema, const std::string& valore,
                           const std::string& nome, const std::string& suffisso) {
    return "<rim:ExternalIdentifier identificationScheme=\"urn:uuid:" + schema + "\" value=\"" +
           valore + "\" registryObject=\"" + id + "\" id=\"" + id + suffisso +
           "\"><rim:Name><rim:LocalizedString value=\"" + nome +
           "\"/></rim:Name></rim:ExternalIdentifier>";
  };
  return "<rim:ExtrinsicObject id=\"" + id +
         "\" mimeType=\"application/xml\" objectType=\""
         "urn:uuid:7edca82f-054d-47f2-a032-9b2a5b5186c1\"><rim:Slot name=\"creationTime\">"
         "<rim:ValueList><rim:Value>20261207101500+0100</rim:Value></rim:ValueList></rim:Slot>"
         "<rim:Name><rim:LocalizedString value=\"Consenso\"/></rim:Name>" +
         classe("a09d5840-386c-46f2-b5ad-9c3699a4309d", "urn:ihe:iti:bppc:2007",
                "1.3.6.1.4.1.19376.1.2.3", "Basic Patient Privacy Consents", 4) +
         classe("f0306f51-975f-434e-a61c-c59651d33983", "Consenso FSEr",
                "regioneveneto typeCodes list v1", "Consenso all'alimentazione del FSEr", 7) +
         classe("2c6b8cb7-8b2a-4051-b291-b1ae6a575ef4", "urn:oid:2.16.840.1.113883.2.9.2.50.4.13.1",
                "2.16.840.1.113883.2.9.2.50.6.30", "Consenso alla alimentazione del FSEr", 8) +
         esterno("58a6f841-87b3-4a3e-92fd-a8ffeff98427",
                 std::string(fse::kMpiVerdi) + "^^^&amp;2.16.840.1.113883.2.9.2.50.4.1.2&amp;ISO",
                 "XDSDocumentEntry.patientId", "Ei01") +
         esterno("2e82c1f6-a085-4c72-9da3-8640a32e42ab", unico, "XDSDocumentEntry.uniqueId",
                 "Ei02") +
         "</rim:ExtrinsicObject>";
}

class FsePubblicazioneTest : public FseTest {
 protected:
  // A ProvideAndRegister request of `voci` consents, the first document's
  // part named `primo_href`.
  std::string Corpo(int voci, const std::string& primo_href = "doc0") {
    std::string oggetti, riferimenti;
    for (int i = 0; i < voci; ++i) {
      oggetti += VoceConsenso(i, "2.16.840.1.113883.2.9.2.50.2.1.4.4.7^PUB" + std::to_string(i));
      riferimenti += "<xdsb:Document id=\"Document0" + std::to_string(i) +
                     "\"><xop:Include "
                     "xmlns:xop=\"http://www.w3.org/2004/08/xop/include\" href=\"cid:" +
                     (i == 0 ? primo_href : "doc" + std::to_string(i)) + "\"/></xdsb:Document>";
    }
    return "<xdsb:ProvideAndRegisterDocumentSetRequest xmlns:xdsb=\"urn:ihe:iti:xds-b:2007\" "
           "xmlns:lcm=\"urn:oasis:names:tc:ebxml-regrep:xsd:lcm:3.0\" "
           "xmlns:rim=\"urn:oasis:names:tc:ebxml-regrep:xsd:rim:3.0\"><lcm:SubmitObjectsRequest>"
           "<rim:RegistryObjectList>" +
           oggetti + "</rim:RegistryObjectList></lcm:SubmitObjectsRequest>" + riferimenti +
           "</xdsb:ProvideAndRegisterDocumentSetRequest>";
  }
  // Posts the envelope and one part per document as the XOP multipart.
  prova::Esito Pubblica(const std::string& corpo, const std::vector<std::string>& documenti) {
    const std::string confine = "confine_di_prova";
    std::string testo = "--" + confine +
                        "\r\nContent-Type: application/xop+xml;charset=UTF-8;"
                        "type=\"application/soap+xml\"\r\nContent-ID: <radice@prova>\r\n\r\n" +
                        Busta(S::kPubblicazione, corpo) + "\r\n";
    for (std::size_t i = 0; i < documenti.size(); ++i) {
      testo += "--" + confine + "\r\nContent-Type: text/xml; charset=us-ascii\r\nContent-ID: <doc" +
               std::to_string(i) + ">\r\n\r\n" + documenti[i] + "\r\n";
    }
    testo += "--" + confine + "--\r\n";
    return Posta(S::kPubblicazione, testo,
                 "multipart/related; boundary=\"" + confine +
                     "\"; type=\"application/xop+xml\"; "
                     "start=\"<radice@prova>\"; start-info=\"application/soap+xml\"");
  }
  static std::string Esito(const prova::Esito& e) {
    return Primo(e.corpo, "//*[local-name()='RegistryResponse']/@status");
  }
  std::string cda_ = fse::CdaSemplice({"PUB", "59284-0", "Consenso", "Consenso", "20261207101500",
                                       "VRDLCU55C12F205S", "VERDI", "LUCA", "M", "19550312",
                                       "Consenso all'alimentazione"});
};

TEST_F(FsePubblicazioneTest, BadDocumentsMissingPartsAndScriptedFaultsAreRegistryErrors) {
  if (fse.Validazione()) {
    const prova::Esito cda = Pubblica(Corpo(1), {"<ClinicalDocument xmlns=\"urn:hl7-org:v3\"/>"});
    EXPECT_EQ(Esito(cda), "urn:oasis:names:tc:ebxml-regrep:ResponseStatusType:Failure");
    EXPECT_NE(Primo(cda.corpo, "//*[local-name()='RegistryError']/@codeContext").find("CDA.xsd"),
              std::string::npos);
  }
  const prova::Esito parte = Pubblica(Corpo(1, "assente"), {cda_});
  EXPECT_EQ(Primo(parte.corpo, "//*[local-name()='RegistryError']/@errorCode"),
            "XDSMissingDocument");
  EXPECT_TRUE(fse.Pubblicati().empty());

  fse.Programma(S::kPubblicazione, ServiziFse::Esito::kParziale);
  const prova::Esito parziale = Pubblica(Corpo(2), {cda_, cda_});
  EXPECT_EQ(Esito(parziale), "urn:ihe:iti:2007:ResponseStatusType:PartialSuccess");
  EXPECT_EQ(fse.Pubblicati().size(), 1u);
  fse.Programma(S::kPubblicazione, ServiziFse::Esito::kDueErrori);
  EXPECT_EQ(
      Xpath(Pubblica(Corpo(1), {cda_}).corpo, "//*[local-name()='RegistryError']/@codeContext")
          .size(),
      2u);

  // Not XOP: refused before anything is read.
  const prova::Esito soap = Posta(S::kPubblicazione, Busta(S::kPubblicazione, Corpo(1)));
  EXPECT_EQ(soap.stato, 400);
  EXPECT_EQ(fse.Pubblicati().size(), 1u);
}

}  // namespace
}  // namespace qzkiro::sandbox
