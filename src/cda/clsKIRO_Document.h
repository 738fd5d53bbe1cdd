#pragma once

#include <memory>
#include <string>

#include "host/AccessoHost.h"
#include "util/clsXML.h"

namespace qzkiro::cda {

class clsCDA2;

// One document retrieved from the regional repository. Its renditions are
// derived on demand in a chain of files in the user's temporary folder —
// Base64 text, signed envelope, signed content (RTF or MIME), the MIME
// message's XML and XSL parts, the PDF — and each file, once made, is reused:
// a later call resumes from the last good file.
class clsKIRO_Document {
 public:
  // A document whose renditions the host makes through `accesso`.
  explicit clsKIRO_Document(std::shared_ptr<const host::AccessoHost> accesso);
  ~clsKIRO_Document();
  clsKIRO_Document(const clsKIRO_Document&) = delete;
  clsKIRO_Document& operator=(const clsKIRO_Document&) = delete;

  // Keeps the retrieve response, fixes the files in the user's temporary
  // folder and deletes those an earlier document left there.
  void Init(util::clsXML& XML);

  // The document's reader, loaded once from the XML file; null when the
  // file cannot be made or read.
  clsCDA2* CDA2();
  // The path of the RTF or PDF rendition, "" when it cannot be made.
  std::string DocumentoRTF();
  std::string DocumentoPDF();
  // For an envelope that holds the CDA document itself: unwraps it into the
  // XML file, loads it, and writes its embedded PDF when it has one.
  bool Documento2();

  struct File {
    std::string b64, p7m, rtf, mime, xml, xsl, pdf;
  };
  const File& Files() const { return file_; }

 private:
  bool SalvaB64();
  bool SalvaP7M();
  bool SalvaContenuto(const std::string& file, const char* passo);
  bool SalvaRTF() { return SalvaContenuto(file_.rtf, "SalvaRTF"); }
  bool SalvaMime() { return SalvaContenuto(file_.mime, "SalvaMime"); }
  bool SalvaXML();
  bool SalvaPDF();
  // Logs the outcome of one step of the chain; returns `ok`.
  bool Esito(bool ok, const char* passo, const std::string& dettaglio = {}) const;
  // The Base64, PDF and XSL files, deleted again when the object goes.
  void EliminaTemporanei();

  std::shared_ptr<const host::AccessoHost> accesso_;
  util::clsXML* risposta_ = nullptr;
  std::unique_ptr<clsCDA2> cda2_;
  File file_;
};

}  // namespace qzkiro::cda
