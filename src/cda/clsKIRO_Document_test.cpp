#include "cda/clsKIRO_Document.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "cda/clsCDA2.h"
#include "cda/clsKIRO_ItemNotifica.h"
#include "core/AccessoContesto.h"
#include "support/AmbientePlugin.h"
#include "support/BustaCms.h"
#include "sandbox/server/CartellaTemporanea.h"
#include "support/LogProva.h"
#include "util/File.h"
#include "util/clsBase64.h"

namespace qzkiro::cda {
namespace {

namespace fs = std::filesystem;

constexpr const char* kCda =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
    "<ClinicalDocument xmlns=\"urn:hl7-org:v3\"><id root=\"2.16.840.1.113883.2.9\" "
    "extension=\"REF-0042\"/><code code=\"11502-2\"/><title>Referto di laboratorio</title>"
    "<effectiveTime value=\"20261206103000\"/></ClinicalDocument>";

constexpr const char* kXslFo =
    "<?xml version=\"1.0\"?><xsl:stylesheet version=\"1.0\" "
    "xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\" "
    "xmlns:fo=\"http://www.w3.org/1999/XSL/Format\" "
    "xmlns:cda=\"urn:hl7-org:v3\"><xsl:template match=\"/\"><fo:root><fo:layout-master-set>"
    "<fo:simple-page-master master-name=\"A4\" page-height=\"29.7cm\" page-width=\"21cm\">"
    "<fo:region-body margin=\"2cm\"/></fo:simple-page-master></fo:layout-master-set>"
    "<fo:page-sequence master-reference=\"A4\"><fo:flow flow-name=\"xsl-region-body\">"
    "<fo:block><xsl:value-of select=\"cda:ClinicalDocument/cda:title\"/></fo:block></fo:flow>"
    "</fo:page-sequence></fo:root></xsl:template></xsl:stylesheet>";

std::string Mime() {
  return "MIME-Version: 1.0\r\nContent-Type: multipart/mixed; boundary=\"LIMITE\"\r\n\r\n"
         "--LIMITE\r\nContent-Type: text/xml; name=\"Referto.XML\"\r\n"
         "Content-Transfer-Encoding: base64\r\n\r\n" +
         util::clsBase64::EncodeBytes(util::ComeByte(kCda)) +
         "\r\n--LIMITE\r\nContent-Type: text/xsl; name=\"stile.xsl\"\r\n\r\n" + kXslFo +
         "\r\n--LIMITE--\r\n";
}

// The repository's answer carrying `contenuto` in a signed envelope.
std::string Risposta(const std::string& contenuto) {
  return "<s:Envelope xmlns:s=\"http://www.w3.org/2003/05/soap-envelope\"><s:Body>"
         "<RetrieveDocumentSetResponse xmlns=\"urn:ihe:iti:xds-b:2007\"><DocumentResponse>"
         "<Document>" +
         util::clsBase64::EncodeBytes(util::ComeByte(testsupport::FirmaCms(contenuto))) +
         "</Document></DocumentResponse></RetrieveDocumentSetResponse></s:Body></s:Envelope>";
}

class DocumentoTest : public ::testing::Test {
 protected:
  testsupport::AmbienteConHost env_;
};

TEST_F(DocumentoTest, TheChainMakesEachFileOnceAndTheFormatterRunsOnce) {
  sandbox::CartellaTemporanea log;
  env_.Contesto().settings.log_dir = log.Path().string();
  util::clsXML risposta;
  ASSERT_TRUE(risposta.LoadXML(Risposta(Mime())));
  clsKIRO_Document documento(core::AccessoDelContesto());
  documento.Init(risposta);
  const std::string pdf = documento.DocumentoPDF();
  ASSERT_FALSE(pdf.empty());
  EXPECT_EQ(util::ComeTesto(*util::LeggiFile(pdf)).substr(0, 5), "%PDF-");
  EXPECT_EQ(util::ComeTesto(*util::LeggiFile(documento.Files().xml)), kCda);
  EXPECT_TRUE(fs::exists(documento.Files().xsl));

  fs::remove(documento.Files().xml);
  EXPECT_EQ(documento.DocumentoPDF(), pdf) << "the PDF is there: no second run";
  EXPECT_FALSE(fs::exists(documento.Files().xml));
  EXPECT_EQ(util::ComeTesto(*util::LeggiFile(documento.DocumentoRTF())), Mime())
      << "the signed content as it is";
  const auto titoli = testsupport::TitoliLog(log.Path());
  EXPECT_NE(std::find(titoli.begin(), titoli.end(), "SalvaRTF: OK"), titoli.end());

  ASSERT_NE(documento.CDA2(), nullptr) << "the XML file is made again for the reader";
  EXPECT_EQ(documento.CDA2()->ID(), "REF-0042");
  EXPECT_EQ(documento.CDA2(), documento.CDA2()) << "loaded once";
}

TEST_F(DocumentoTest, AnEnvelopeWithTheDocumentItselfAndTheTemporaryFilesLifetime) {
  const std::string pdf_base64 = util::clsBase64::EncodeBytes(util::ComeByte("%PDF-1.4 prova"));
  const std::string cda = std::string(kCda).replace(
      std::string(kCda).find("</ClinicalDocument>"), 19,
      "<component><structuredBody><component><section><entry><observationMedia>"
      "<value mediaType=\"application/pdf\" representation=\"B64\">" +
          pdf_base64 +
          "</value></observationMedia></entry></section></component></structuredBody>"
          "</component></ClinicalDocument>");
  util::clsXML risposta;
  ASSERT_TRUE(risposta.LoadXML(Risposta(cda)));
  std::string b64, pdf;
  {
    clsKIRO_Document documento(core::AccessoDelContesto());
    documento.Init(risposta);
    ASSERT_TRUE(documento.Documento2());
    b64 = documento.Files().b64;
    pdf = documento.Files().pdf;
    EXPECT_EQ(util::ComeTesto(*util::LeggiFile(pdf)), "%PDF-1.4 prova");
    ASSERT_NE(documento.CDA2(), nullptr);
    EXPECT_EQ(documento.CDA2()->Titolo(), "Referto di laboratorio");
  }
  EXPECT_FALSE(fs::exists(b64)) << "removed with the object";
  EXPECT_FALSE(fs::exists(pdf));

  util::clsXML vuota;
  ASSERT_TRUE(vuota.LoadXML("<s:Envelope xmlns:s=\"urn:s\"><s:Body/></s:Envelope>"));
  clsKIRO_Document documento(core::AccessoDelContesto());
  util::ScriviFile(pdf, util::ComeByte("vecchio"));
  ASSERT_TRUE(fs::exists(fs::path(pdf).parent_path() / "Referto.xml"));
  documento.Init(vuota);
  EXPECT_FALSE(fs::exists(pdf)) << "a stale PDF of an earlier document is deleted";
  EXPECT_FALSE(fs::exists(fs::path(pdf).parent_path() / "Referto.xml"))
      << "never served as this document";
  EXPECT_EQ(documento.DocumentoPDF(), "");
  EXPECT_EQ(documento.CDA2(), nullptr);
  EXPECT_FALSE(documento.Documento2());
}

TEST(ItemNotificaTest, DocumentTypesOfTheRegion) {
  clsKIRO_ItemNotifica item;
  item.TipoDocumento = "kiro_cc003";
  EXPECT_EQ(item.DescrizioneTipoDocumento(), "Prescrizione Farmaceutica");
  item.TipoDocumento = "kiro_tc002";
  EXPECT_EQ(item.DescrizioneTipoDocumento(), "Referto Esame Telelaboratorio POCT");
  item.TipoDocumento = "KIRO_CC003";
  EXPECT_EQ(item.DescrizioneTipoDocumento(), "");
}

}  // namespace
}  // namespace qzkiro::cda
