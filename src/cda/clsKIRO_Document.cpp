#include "cda/clsKIRO_Document.h"

#include <filesystem>

#include "cda/BustaFirmata.h"
#include "cda/clsCDA2.h"
#include "util/File.h"

namespace qzkiro::cda {

namespace {

bool Esiste(const std::string& file) {
  std::error_code errore;
  return !file.empty() && std::filesystem::is_regular_file(file, errore);
}

void Elimina(const std::string& file) {
  std::error_code ignorato;
  if (!file.empty()) std::filesystem::remove(file, ignorato);
}

std::string TraVirgolette(const std::string& testo) {
  return "\"" + testo + "\"";
}

}  // namespace

clsKIRO_Document::clsKIRO_Document(std::shared_ptr<const host::AccessoHost> accesso)
    : accesso_(std::move(accesso)) {}

bool clsKIRO_Document::Esito(bool ok, const char* passo, const std::string& dettaglio) const {
  accesso_->Log(std::string(passo) + (ok ? ": OK" : ": KO"), ok ? std::string() : dettaglio, !ok);
  return ok;
}

clsKIRO_Document::~clsKIRO_Document() {
  EliminaTemporanei();
}

void clsKIRO_Document::EliminaTemporanei() {
  Elimina(file_.b64);
  Elimina(file_.pdf);
  Elimina(file_.xsl);
}

void clsKIRO_Document::Init(util::clsXML& XML) {
  risposta_ = &XML;
  cda2_.reset();
  const std::string cartella = accesso_->App().Utente().TempDir();
  auto in = [&](const char* nome) { return (std::filesystem::path(cartella) / nome).string(); };
  file_ = {in("Temp.b64"),    in("Temp.p7m"),    in("Temp.rtf"),   in("Temp.mime"),
           in("Referto.xml"), in("Referto.xsl"), in("Referto.pdf")};
  // Every file derives from the response: those of an earlier document would
  // otherwise be served as this one's.
  EliminaTemporanei();
  for (const auto* file : {&file_.p7m, &file_.rtf, &file_.mime, &file_.xml}) Elimina(*file);
}

bool clsKIRO_Document::SalvaB64() {
  if (Esiste(file_.b64)) return true;
  if (!risposta_) return Esito(false, "SalvaB64", "Nessun documento");
  const std::string testo = risposta_->GetTextNode(
      risposta_->rootNode(), "Body/RetrieveDocumentSetResponse/DocumentResponse/Document");
  return Esito(util::ScriviFile(file_.b64, util::ComeByte(testo + "\r\n")), "SalvaB64");
}

bool clsKIRO_Document::SalvaP7M() {
  if (Esiste(file_.p7m)) return true;
  if (!SalvaB64()) return false;
  auto base64 = accesso_->App().Framework().NewBase64();
  if (base64) base64->DecodeFileToFile(file_.b64, file_.p7m);
  return Esito(Esiste(file_.p7m), "SalvaP7M");
}

bool clsKIRO_Document::SalvaContenuto(const std::string& file, const char* passo) {
  if (Esiste(file)) return true;
  if (!SalvaP7M()) return false;
  EstraiContenutoFirmato(file_.p7m, file);
  return Esito(Esiste(file), passo);
}

bool clsKIRO_Document::SalvaXML() {
  if (Esiste(file_.xml)) return true;
  if (!SalvaMime()) return false;
  auto mime = accesso_->App().Framework().NewMime();
  if (mime && mime->InitFile(file_.mime)) {
    const std::string cartella = std::filesystem::path(file_.xml).parent_path().string();
    for (const auto& parte : mime->Items()) {
      std::string nome = parte->Name();
      for (char& c : nome) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      if (nome.ends_with(".xml")) parte->ExtractFile(cartella, "Referto.xml");
      if (nome.ends_with(".xsl")) parte->ExtractFile(cartella, "Referto.xsl");
    }
  }
  return Esito(Esiste(file_.xml), "SalvaXML");
}

bool clsKIRO_Document::SalvaPDF() {
  if (Esiste(file_.pdf)) return true;
  if (!SalvaXML()) return false;
  const std::string argomenti = " -xml " + TraVirgolette(file_.xml) + " -xsl " +
                                TraVirgolette(file_.xsl) + " -pdf " + TraVirgolette(file_.pdf);
  accesso_->App().Framework().FOP(argomenti);
  return Esito(Esiste(file_.pdf), "SalvaPDF", "FOP" + argomenti);
}

std::string clsKIRO_Document::DocumentoRTF() {
  return SalvaRTF() ? file_.rtf : std::string();
}

std::string clsKIRO_Document::DocumentoPDF() {
  return SalvaPDF() ? file_.pdf : std::string();
}

clsCDA2* clsKIRO_Document::CDA2() {
  if (cda2_) return cda2_.get();
  if (!SalvaXML()) return nullptr;
  auto lettore = std::make_unique<clsCDA2>(accesso_);
  if (!lettore->InitFileXML(file_.xml, "DNLAB,MyLocalCodeSystem")) return nullptr;
  cda2_ = std::move(lettore);
  return cda2_.get();
}

bool clsKIRO_Document::Documento2() {
  if (!SalvaP7M()) return false;
  EstraiContenutoFirmato(file_.p7m, file_.xml);
  if (!Esiste(file_.xml)) return false;
  auto lettore = std::make_unique<clsCDA2>(accesso_);
  if (!lettore->InitFileXML(file_.xml, "DNLAB,MyLocalCodeSystem")) return false;
  const std::string pdf = lettore->ObservationsMediaPDF();
  if (!pdf.empty()) {
    if (auto base64 = accesso_->App().Framework().NewBase64()) base64->DecodeFile(pdf, file_.pdf);
  }
  cda2_ = std::move(lettore);
  return true;
}

}  // namespace qzkiro::cda
