#include "sandbox/FseDocumenti.h"

#include <openssl/bio.h>
#include <openssl/cms.h>
#include <openssl/pem.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <vector>

#include "sandbox/Scambio.h"

namespace qzkiro::sandbox::fse {

namespace {

template <auto libera>
struct Liberatore {
  template <typename T>
  void operator()(T* p) const {
    libera(p);
  }
};
using Bio = std::unique_ptr<BIO, Liberatore<BIO_free_all>>;
using Certificato = std::unique_ptr<X509, Liberatore<X509_free>>;
using Chiave = std::unique_ptr<EVP_PKEY, Liberatore<EVP_PKEY_free>>;
using Cms = std::unique_ptr<CMS_ContentInfo, Liberatore<CMS_ContentInfo_free>>;

Bio DaFile(const std::filesystem::path& file) {
  Bio bio(BIO_new_file(file.c_str(), "rb"));
  if (!bio) throw std::runtime_error("File di firma non leggibile: " + file.string());
  return bio;
}

std::string Comprimi(std::string_view dati) {
  uLongf dimensione = compressBound(static_cast<uLong>(dati.size()));
  std::string out(dimensione, '\0');
  compress2(reinterpret_cast<Bytef*>(out.data()), &dimensione,
            reinterpret_cast<const Bytef*>(dati.data()), static_cast<uLong>(dati.size()), 9);
  out.resize(dimensione);
  return out;
}

std::string Dieci(std::size_t n) {
  char testo[16];
  std::snprintf(testo, sizeof testo, "%010zu", n);
  return testo;
}

// A PDF of `oggetti` (numbered from 1, the first the catalog) with a correct
// cross-reference table; `oggetti` may hold binary stream data.
std::string Pdf(const std::vector<std::string>& oggetti) {
  std::string pdf = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n", xref;
  for (std::size_t i = 0; i < oggetti.size(); ++i) {
    xref += Dieci(pdf.size()) + " 00000 n \n";
    pdf += std::to_string(i + 1) + " 0 obj\n" + oggetti[i] + "\nendobj\n";
  }
  const std::string n = std::to_string(oggetti.size() + 1);
  return pdf + "xref\n0 " + n + "\n0000000000 65535 f \n" + xref + "trailer\n<< /Size " + n +
         " /Root 1 0 R >>\nstartxref\n" + std::to_string(pdf.size()) + "\n%%EOF\n";
}

std::string Flusso(std::string_view dizionario, std::string_view dati) {
  return "<< " + std::string(dizionario) + " /Length " + std::to_string(dati.size()) +
         " >>\nstream\n" + std::string(dati) + "\nendstream";
}

std::string Testo(std::string_view riga) {
  return "BT /F1 14 Tf 72 770 Td (" + std::string(riga) + ") Tj ET";
}

// The page tree: objects 2 to 5 of every PDF written here.
std::vector<std::string> Pagina(std::string catalogo, const std::string& contenuto) {
  return {std::move(catalogo), "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
          "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Resources << /Font << /F1 4 "
          "0 R >> >> /Contents 5 0 R >>",
          "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>", Flusso("", contenuto)};
}

}  // namespace

std::string FirmaCms(std::string_view dati, const Firmatario& firmatario) {
  Certificato cert(
      PEM_read_bio_X509(DaFile(firmatario.certificato).get(), nullptr, nullptr, nullptr));
  Chiave chiave(
      PEM_read_bio_PrivateKey(DaFile(firmatario.chiave).get(), nullptr, nullptr, nullptr));
  if (!cert || !chiave) throw std::runtime_error("Certificato o chiave di firma non validi");
  Bio contenuto(BIO_new_mem_buf(dati.data(), static_cast<int>(dati.size())));
  Cms cms(CMS_sign(cert.get(), chiave.get(), nullptr, contenuto.get(), CMS_BINARY));
  Bio out(BIO_new(BIO_s_mem()));
  if (!cms || i2d_CMS_bio(out.get(), cms.get()) != 1) {
    throw std::runtime_error("Firma CMS non riuscita");
  }
  char* byte = nullptr;
  const long n = BIO_get_mem_data(out.get(), &byte);
  return std::string(byte, static_cast<std::size_t>(n));
}

std::string AlteraDopoFirma(std::string firmato, std::string_view cerca) {
  if (const auto dove = firmato.find(cerca); dove != std::string::npos && !cerca.empty()) {
    firmato[dove] = firmato[dove] == 'X' ? 'Y' : 'X';
  }
  return firmato;
}

std::string PdfConAllegato(std::string_view riga, std::string_view nome, std::string_view xml) {
  const std::string file = "(" + std::string(nome) + ")";
  auto oggetti =
      Pagina("<< /Type /Catalog /Pages 2 0 R /Names << /EmbeddedFiles 6 0 R >> >>", Testo(riga));
  oggetti.push_back("<< /Names [" + file + " 7 0 R] >>");
  oggetti.push_back("<< /Type /Filespec /F " + file + " /UF " + file +
                    " /Desc (Documento CDA R2) /EF << /F 8 0 R >> >>");
  oggetti.push_back(
      Flusso("/Type /EmbeddedFile /Subtype /text#2Fxml /Filter /FlateDecode "
             "/Params << /Size " +
                 std::to_string(xml.size()) + " >>",
             Comprimi(xml)));
  return Pdf(oggetti);
}

std::string PdfGrande(std::size_t byte) {
  const auto fai = [](const std::string& riempimento) {
    return Pdf(Pagina("<< /Type /Catalog /Pages 2 0 R >>", Testo("Referto") + riempimento));
  };
  const std::size_t base = fai("").size();
  std::string riempimento = "\n";
  while (riempimento.size() + 80 + base < byte) riempimento += "%" + std::string(78, '.') + "\n";
  // The lengths and offsets written in the file grow with the padding: a few
  // rounds of spaces at its end bring the total to the size asked.
  std::string pdf = fai(riempimento);
  for (int giro = 0; giro < 4 && pdf.size() != byte; ++giro) {
    if (pdf.size() < byte) {
      riempimento.append(byte - pdf.size(), ' ');
    } else {
      riempimento.resize(riempimento.size() - std::min(riempimento.size() - 1, pdf.size() - byte));
    }
    pdf = fai(riempimento);
  }
  return pdf;
}

std::string DocumentoWorkflow(const DatiCda& d) {
  const auto e = [](std::string_view testo) { return EscapeXml(testo); };
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<xdw:XDW.WorkflowDocument xmlns:xdw=\"urn:ihe:iti:xdw:2011\" xmlns:hl7=\"urn:hl7-org:v3\" "
         "xmlns:ws-ht=\"http://docs.oasis-open.org/ns/bpel4people/ws-humantask/types/200803\">\n"
         "  <hl7:id root=\"2.16.840.1.113883.2.9.2.50.4.4\" extension=\"" + e(d.id) + "\"/>\n"
         "  <hl7:effectiveTime value=\"" + e(d.data) + "\"/>\n"
         "  <hl7:confidentialityCode code=\"N\" codeSystem=\"2.16.840.1.113883.5.25\"/>\n"
         "  <hl7:patient><hl7:id root=\"2.16.840.1.113883.2.9.4.3.2\" extension=\"" + e(d.cf) +
         "\"/></hl7:patient>\n"
         "  <xdw:title>" + e(d.titolo) + "</xdw:title>\n"
         "  <xdw:workflowInstanceId>" + e(d.workflow) + "</xdw:workflowInstanceId>\n"
         "  <xdw:workflowDocumentSequenceNumber>1</xdw:workflowDocumentSequenceNumber>\n"
         "  <xdw:workflowStatus>OPEN</xdw:workflowStatus>\n"
         "  <xdw:workflowDefinitionReference>urn:oid:2.16.840.1.113883.2.9.2.50.4.4.1"
         "</xdw:workflowDefinitionReference>\n"
         "  <xdw:TaskList><xdw:XDWTask><xdw:taskData><ws-ht:taskDetails><ws-ht:id>1</ws-ht:id>"
         "<ws-ht:taskType>Prescrizione</ws-ht:taskType><ws-ht:name>" + e(d.nre) +
         "</ws-ht:name><ws-ht:status>COMPLETED</ws-ht:status></ws-ht:taskDetails></xdw:taskData>"
         "</xdw:XDWTask></xdw:TaskList>\n"
         "</xdw:XDW.WorkflowDocument>\n";
}

std::string CdaSemplice(const DatiCda& d) {
  const auto e = [](std::string_view testo) { return EscapeXml(testo); };
  std::string cda =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ClinicalDocument xmlns=\"urn:hl7-org:v3\" "
      "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n"
      "  <realmCode code=\"IT\"/>\n"
      "  <typeId root=\"2.16.840.1.113883.1.3\" extension=\"POCD_HD000040\"/>\n"
      "  <id root=\"2.16.840.1.113883.2.9.2.50.4.4\" extension=\"" +
      e(d.id) +
      "\"/>\n"
      "  <code code=\"" +
      e(d.loinc) +
      "\" codeSystem=\"2.16.840.1.113883.6.1\" "
      "codeSystemName=\"LOINC\" displayName=\"" +
      e(d.titolo_loinc) +
      "\"/>\n"
      "  <title>" +
      e(d.titolo) +
      "</title>\n"
      "  <effectiveTime value=\"" +
      e(d.data) +
      "+0100\"/>\n"
      "  <confidentialityCode code=\"N\" codeSystem=\"2.16.840.1.113883.5.25\"/>\n"
      "  <languageCode code=\"it-IT\"/>\n";
  cda += "  <recordTarget><patientRole><id root=\"2.16.840.1.113883.2.9.4.3.2\" extension=\"" +
         e(d.cf) + "\"/><patient><name><family>" + e(d.cognome) + "</family><given>" + e(d.nome) +
         "</given></name><administrativeGenderCode code=\"" + e(d.sesso) +
         "\" codeSystem=\"2.16.840.1.113883.5.1\"/><birthTime value=\"" + e(d.nascita) +
         "\"/></patient></patientRole></recordTarget>\n"
         "  <author><time value=\"" +
         e(d.data) +
         "+0100\"/><assignedAuthor>"
         "<id root=\"2.16.840.1.113883.2.9.4.3.2\" extension=\"RSSMRA70A01L736S\"/>"
         "<assignedPerson><name><family>ROSSI</family><given>MARIO</given></name>"
         "</assignedPerson></assignedAuthor></author>\n"
         "  <custodian><assignedCustodian><representedCustodianOrganization>"
         "<id root=\"2.16.840.1.113883.2.9.4.1.2\" extension=\"050501\"/>"
         "<name>Azienda ULSS 3 Serenissima</name></representedCustodianOrganization>"
         "</assignedCustodian></custodian>\n";
  if (!d.nre.empty()) {
    cda +=
        "  <inFulfillmentOf><order classCode=\"ACT\" moodCode=\"RQO\"><id "
        "root=\"2.16.840.1.113883.2.9.4.3.9\" extension=\"" +
        e(d.nre) + "\"/></order></inFulfillmentOf>\n";
  }
  cda += "  <component><structuredBody><component><section><code code=\"" + e(d.loinc) +
         "\" codeSystem=\"2.16.840.1.113883.6.1\"/><title>" + e(d.titolo) + "</title><text>" +
         e(d.testo) + "</text>";
  return cda + "</section></component></structuredBody></component>\n</ClinicalDocument>\n";
}

}  // namespace qzkiro::sandbox::fse
