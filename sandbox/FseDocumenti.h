#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace qzkiro::sandbox::fse {

// The bytes of the documents the FSE repository holds, one byte per character.

// Who signs: a PEM certificate and its key.
struct Firmatario {
  std::filesystem::path certificato;
  std::filesystem::path chiave;
};

// A CMS (PKCS#7) signed-data envelope in DER holding `dati` (attached).
// Throws std::runtime_error when the certificate or key cannot be read.
std::string FirmaCms(std::string_view dati, const Firmatario& firmatario);

// `firmato` with one byte of its content changed after signing: the first
// occurrence of `cerca` gets its first letter replaced, so the digest no
// longer matches. Unchanged when `cerca` is not there.
std::string AlteraDopoFirma(std::string firmato, std::string_view cerca);

// A one-page PDF 1.4 showing `riga` that carries `xml` as the attached file
// `nome` (/EmbeddedFiles name tree, /Type /EmbeddedFile, /Subtype /text#2Fxml,
// compressed with FlateDecode).
std::string PdfConAllegato(std::string_view riga, std::string_view nome, std::string_view xml);

// A valid PDF of exactly `byte` bytes (at least 1024): one page whose content
// stream is padded with PDF comments.
std::string PdfGrande(std::size_t byte);

// What a simple CDA R2 document of the record says.
struct DatiCda {
  std::string_view id;  // extension of the document id
  std::string_view loinc, titolo_loinc;
  std::string_view titolo;
  std::string_view data;  // yyyymmddhhmmss
  std::string_view cf, cognome, nome, sesso, nascita;
  std::string_view testo;          // the narrative of its one section
  std::string_view nre = {};       // the prescription it fulfils, "" for none
  std::string_view workflow = {};  // the process document's workflowInstanceId
};
// A CDA R2 document (valid against the normative schema) with one section.
std::string CdaSemplice(const DatiCda& dati);

// An IHE XDW workflow document (the process document of a prescription): its
// workflowInstanceId, the patient, the prescription it was opened for, one task.
std::string DocumentoWorkflow(const DatiCda& dati);

}  // namespace qzkiro::sandbox::fse
