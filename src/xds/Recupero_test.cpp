#include "xds/Recupero.h"

#include <gtest/gtest.h>


#include "support/DatiPubblici.h"

namespace qzkiro::xds {
namespace {

std::string Risposta(const std::string& dentro) {
  return "<?xml version=\"1.0\"?><e:Envelope xmlns:e=\"http://www.w3.org/2003/05/soap-envelope\">"
         "<e:Body><x:RetrieveDocumentSetResponse xmlns:x=\"urn:ihe:iti:xds-b:2007\""
         " xmlns:rs=\"urn:oasis:names:tc:ebxml-regrep:xsd:rs:3.0\">" +
         dentro + "</x:RetrieveDocumentSetResponse></e:Body></e:Envelope>";
}

TEST(RecuperoTest, TheDocumentIsAReferenceToAPartOrInlineText) {
  const auto xop = LeggiRispostaRecupero(Risposta(
      "<rs:RegistryResponse status=\"urn:oasis:names:tc:ebxml-regrep:ResponseStatusType:Success\"/>"
      "<x:DocumentResponse><x:RepositoryUniqueId>1</x:RepositoryUniqueId><x:mimeType> application/pdf"
      "</x:mimeType><x:Document><xop:Include xmlns:xop=\"http://www.w3.org/2004/08/xop/include\""
      " href=\"cid:doc1@kiro\"/></x:Document></x:DocumentResponse>"));
  EXPECT_TRUE(xop.errore.empty());
  EXPECT_EQ(xop.mime_type, "application/pdf");
  EXPECT_EQ(xop.riferimento, "cid:doc1@kiro");
  EXPECT_TRUE(xop.HaDocumento());

  const auto in_linea = LeggiRispostaRecupero(Risposta(
      "<x:DocumentResponse><x:mimeType>application/xml</x:mimeType><x:Document>PGE+PC9hPg=="
      "</x:Document></x:DocumentResponse>"));
  EXPECT_EQ(in_linea.base64, "PGE+PC9hPg==");
  EXPECT_TRUE(in_linea.riferimento.empty());
}

TEST(RecuperoTest, EveryRegistryErrorGivesOneLineAndAFaultItsText) {
  const auto errori = LeggiRispostaRecupero(Risposta(
      "<rs:RegistryResponse status=\"urn:oasis:names:tc:ebxml-regrep:ResponseStatusType:Failure\">"
      "<rs:RegistryErrorList><rs:RegistryError codeContext=\"Documento inesistente\" errorCode=\"a\"/>"
      "<rs:RegistryError codeContext=\"Repository sconosciuto\" errorCode=\"b\"/>"
      "</rs:RegistryErrorList></rs:RegistryResponse>"));
  EXPECT_EQ(errori.errore, "Documento inesistente\r\nRepository sconosciuto");
  EXPECT_FALSE(errori.HaDocumento());

  EXPECT_EQ(LeggiRispostaRecupero("<Envelope><Body><Fault><faultstring>Negato</faultstring>"
                                  "</Fault></Body></Envelope>")
                .errore,
            "Negato");
  EXPECT_FALSE(LeggiRispostaRecupero("--MIME senza XML").xml);
}

TEST(RecuperoTest, MimeTypesDecideTheHandling) {
  struct Caso {
    const char* tipo;
    FormatoDocumento formato;
  } casi[] = {{"application/pdf+text/x-cda-r2+xml", FormatoDocumento::PdfConCda},
              {"application/pkcs7-mime", FormatoDocumento::Firmato},
              {"application/x-pkcs7-mime", FormatoDocumento::Firmato},
              {"application/octet-stream", FormatoDocumento::Firmato},
              {"application/xml", FormatoDocumento::Cda},
              {"application/pdf", FormatoDocumento::Pdf},
              {"text/x-cda-r2+xml", FormatoDocumento::Ignoto},
              {"application/PDF", FormatoDocumento::Ignoto},
              {"", FormatoDocumento::Ignoto}};
  for (const auto& c : casi) EXPECT_EQ(FormatoDi(c.tipo), c.formato) << c.tipo;
}

TEST(RecuperoCampioniTest, PublicRetrievalAnswers) {
  QZKIRO_RICHIEDE_CAMPIONI();
  const auto svizzera =
      LeggiRispostaRecupero(testsupport::TestoPubblico("xds-ebxml/ehealthsuisse-EPR-by-example/samples/ITI-43_response_raw.xml"));
  EXPECT_EQ(svizzera.mime_type, "application/pdf");
  EXPECT_EQ(svizzera.riferimento, "cid:72f7c587daaacb8b81212de4e80e442e5f43394482e12edd@apache.org");
  const auto wxdsb = LeggiRispostaRecupero(testsupport::TestoPubblico("xds-ebxml/wxdsb/samples/retrieve_res.xml"));
  EXPECT_EQ(wxdsb.mime_type, "text/x-cda-r2+xml");
  EXPECT_EQ(wxdsb.base64.compare(0, 12, "PD94bWwgdmVy"), 0);
}

}  // namespace
}  // namespace qzkiro::xds
