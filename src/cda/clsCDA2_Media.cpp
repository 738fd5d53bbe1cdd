// clsCDA2: embedded media, the MIME message, and the files saved from the
// document.

#include <exception>
#include <filesystem>
#include <string_view>

#include "cda/ValoriCDA.h"
#include "cda/clsCDA2.h"
#include "util/File.h"
#include "util/clsBase64.h"

namespace qzkiro::cda {

namespace {

namespace fs = std::filesystem;

constexpr const char* kPdfAperto =
    "Attenzione: Non è possibile generare il file PDF in quanto risulta ancora aperto.\r\n"
    "Chiudere il PDF e riprovare";

bool FiniscePerXml(const std::string& nome) {
  return Minuscolo(nome).ends_with(".xml");
}

// The document declares a stylesheet: an "xml-stylesheet" instruction
// beside its element. Looked for before asking clsXML, which reads it from
// the whole document written out.
bool DichiaraFoglioDiStile(const util::clsXML& xml) {
  return xml.ExistProcessing("xml-stylesheet");
}

// Deletes an old copy of `file`; a copy still open stays, and the user is
// told to close it.
bool Libera(const host::AccessoHost& accesso, host::IApplication& app, const std::string& file) {
  if (app.Framework().KillFile(file)) return true;
  accesso.Avviso(kPdfAperto);
  return false;
}

}  // namespace

Nodo clsCDA2::Media(const std::string& media_type) const {
  if (!media_) media_ = ListaObservationsMedia();
  for (Nodo media : *media_) {
    if (AttributoDi(media, "value", "mediaType") == media_type) return media;
  }
  return nullptr;
}

std::string clsCDA2::ObservationsMediaPDF() const {
  return TestoDi(Media("application/pdf"), "value");
}

std::string clsCDA2::ObservationsMediaXSL() const {
  return AttributoDi(Media("application/xslt+xml"), "reference/externalDocument/text/reference",
                     "value");
}

std::string clsCDA2::ObservationsMediaJPG() const {
  return TestoDi(Media("image/jpeg"), "value");
}

bool clsCDA2::InitMIME(const std::string& Mime) {
  last_error_.clear();
  mime_ = Mime;
  parti_mime_ = 0;
  std::vector<std::shared_ptr<host::IMimeParte>> parti;
  try {
    auto mime = accesso_->App().Framework().NewMime();
    if (!mime || !mime->InitStr(Mime)) return false;
    parti = mime->Items();
  } catch (const std::exception& e) {
    last_error_ = std::string("CDA2: ") + e.what();
    return false;
  }
  parti_mime_ = static_cast<int>(parti.size());
  for (const auto& parte : parti) {
    if (!parte || (!FiniscePerXml(parte->FileName()) && !FiniscePerXml(parte->Name()))) continue;
    auto xml = std::make_shared<util::clsXML>();
    if (!xml->LoadXML(parte->Decode())) {
      last_error_ = "CDA2: " + xml->LastError();
      mime_.clear();
      return false;
    }
    NuovoDocumento(std::move(xml));
    return true;
  }
  return false;
}

void clsCDA2::CreaAllegati(const VoceInput& referto) {
  try {
    Allega(referto);
  } catch (const std::exception& e) {
    last_error_ = std::string("CDA2: ") + e.what();
  }
}

void clsCDA2::Allega(const VoceInput& referto) {
  auto& app = accesso_->App();
  const std::string file = (fs::path(app.Utente().TempDir()) / "Referto.pdf").string();
  if (const std::string pdf = ObservationsMediaPDF(); !pdf.empty()) {
    if (!Libera(*accesso_, app, file)) return;
    if (util::clsBase64().DecodeFile(pdf, file)) referto.Chiama("AddAllegato", {file, "Referto"});
    return;
  }
  std::string foglio = xml_ && DichiaraFoglioDiStile(*xml_) ? xml_->Stylesheet() : std::string();
  if (foglio.empty()) foglio = ObservationsMediaXSL();
  if (foglio.empty()) return;
  const std::string html = xml_->TransformXSL(foglio);
  if (html.empty() || !Libera(*accesso_, app, file)) return;
  if (app.Framework().HtmlToPdf(html, file)) referto.Chiama("AddAllegato", {file, "Referto"});
}

bool clsCDA2::SalvaHTML(const std::string& PathDest, std::string& DestFile,
                        const std::string& Header, const std::string& Footer) {
  return ScriviPagina(*accesso_, Text(Header, Footer), PathDest, "_CDA2.html", DestFile);
}

bool clsCDA2::SalvaMime(const std::string& PathDest, std::string& DestFile) {
  if (parti_mime_ <= 1) return false;
  DestFile = (fs::path(PathDest) / (accesso_->TimbroFile() + "_CDA2.mime")).string();
  return util::ScriviFile(DestFile, util::ComeByte(mime_));
}

}  // namespace qzkiro::cda
