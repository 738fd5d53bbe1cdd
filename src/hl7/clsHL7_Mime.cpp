#include <exception>
#include <filesystem>

#include "hl7/TestoHL7.h"
#include "hl7/clsHL7.h"

namespace qzkiro::hl7 {

namespace {

const std::string kErroreFormato = "Errore nel formato MIME del CDA";
const std::string kErroreEstrazione = "Errore durante l'estrazione del CDA dal MIME";

// The part that carries the CDA document: an ".xml" file or "application/cda".
bool ParteCDA(host::IMimeParte& parte) {
  return Minuscolo(parte.FileName()).ends_with(".xml") ||
         Minuscolo(parte.ContentType()) == "application/cda";
}

}  // namespace

std::string clsHL7::MimeCDA() const {
  std::string testo = Testo("OBX/OBX.5");
  if (IniziaCon(testo, "mime")) return testo;
  for (Nodo dato : Ripetizioni("OBX/OBX.5/ED.5")) {
    testo = Testo(dato, ".");
    if (IniziaCon(testo, "mime") || IniziaCon(testo, "content-type")) return testo;
  }
  return {};
}

clsHL7::Nodo clsHL7::NodoMime(Nodo parent, const std::string& campo) const {
  Nodo valore = xml_->SelectNode(parent, campo);
  if (valore && IniziaCon(Testo(valore, "."), "mime")) return valore;
  for (Nodo dato : xml_->SelectNodeList(parent, campo + "/ED.5")) {
    if (IniziaCon(Testo(dato, "."), "mime")) return dato;
  }
  return nullptr;
}

std::unique_ptr<util::clsXML> clsHL7::CDA(Nodo parent) {
  last_error_.clear();
  if (!parent) parent = corrente_;
  if (!xml_ || !parent) return nullptr;
  Nodo nodo = NodoMime(parent, "OBX/OBX.5");
  return nodo ? nodeCDA(nodo) : nullptr;
}

std::unique_ptr<util::clsXML> clsHL7::CDAOsservazione(Nodo osservazione) {
  last_error_.clear();
  if (!xml_ || !osservazione) return nullptr;
  Nodo nodo = NodoMime(osservazione, "OBX.5");
  return nodo ? nodeCDA(nodo) : nullptr;
}

std::vector<clsHL7::Nodo> clsHL7::Osservazioni() const {
  return xml_ && corrente_ ? xml_->SelectNodeList(corrente_, "OBX") : std::vector<Nodo>{};
}

std::string clsHL7::TestoOsservazione(Nodo osservazione, const std::string& percorso) const {
  return Testo(osservazione, percorso);
}

std::unique_ptr<util::clsXML> clsHL7::nodeCDA(Nodo node) {
  last_error_.clear();
  const std::string testo = Testo(node, ".");
  if (testo.empty()) {
    last_error_ = kErroreFormato;
    return nullptr;
  }
  // No MIME parser, or a text it cannot read: nothing, with no error text.
  auto mime = accesso_->NuovoMime();
  if (!mime) return nullptr;
  try {
    if (!mime->InitStr(testo, BoundaryPrefix)) return nullptr;
  } catch (const std::exception&) {
    return nullptr;  // a parser that throws has failed like one that answers false
  }
  // Past parsing, what the host cannot decode is an extraction failure: the
  // user sees the reader's message, not the host's internals.
  try {
    bool multiparte = false;
    auto cda = CDADaParti(*mime, multiparte);
    return multiparte ? std::move(cda) : CDADaCorpo(testo);
  } catch (const std::exception&) {
    last_error_ = kErroreEstrazione;
    return nullptr;
  }
}

// A payload of two or more parts: the CDA part decoded and loaded.
std::unique_ptr<util::clsXML> clsHL7::CDADaParti(host::IMime& mime, bool& multiparte) {
  const auto parti = mime.Items();
  multiparte = parti.size() >= 2;
  if (!multiparte) return nullptr;
  for (const auto& parte : parti) {
    if (!parte || !ParteCDA(*parte)) continue;
    auto xml = std::make_unique<util::clsXML>();
    if (xml->LoadXML(parte->Decode())) return xml;
    last_error_ = "CDA2: " + xml->LastError();
    return nullptr;
  }
  return nullptr;
}

// A single-part payload: its Base64 body decoded through a temporary file.
std::unique_ptr<util::clsXML> clsHL7::CDADaCorpo(const std::string& testo) {
  const std::string file = accesso_->FileTemporaneo();
  const std::string corpo = accesso_->CorpoMime(testo);
  if (corpo.empty()) {
    last_error_ = kErroreFormato;
    return nullptr;
  }
  if (file.empty() || !accesso_->DecodificaBase64File(corpo, file)) {
    last_error_ = kErroreEstrazione;
    return nullptr;
  }
  auto xml = std::make_unique<util::clsXML>();
  const bool caricato = xml->LoadFileXML(file);
  // The document is in memory now: patient data does not stay on disk.
  std::error_code ignorato;
  std::filesystem::remove(file, ignorato);
  if (!caricato) {
    last_error_ = "Errore nel CDA: " + xml->LastError();
    return nullptr;
  }
  return xml;
}

std::string clsHL7::DecodificaMime(const std::string& testo) const {
  if (testo.empty()) return {};
  const std::string corpo = accesso_->CorpoMime(testo);
  if (corpo.empty()) return {};
  return accesso_->DecodificaBase64(corpo).value_or("");
}

bool clsHL7::DecodificaMimeFile(const std::string& testo, const std::string& file) const {
  if (testo.empty()) return false;
  const std::string corpo = accesso_->CorpoMime(testo);
  return !corpo.empty() && accesso_->DecodificaBase64File(corpo, file);
}

bool clsHL7::SalvaFileMIME(const std::string& DestFile) const {
  const std::string mime = MimeCDA();
  return !mime.empty() && DecodificaMimeFile(mime, DestFile);
}

std::vector<std::string> clsHL7::EstraiFiles() const {
  std::vector<std::string> nomi;
  auto mime = accesso_->NuovoMime();
  const std::string cartella = accesso_->CartellaTemporanea();
  if (!mime || cartella.empty()) return nomi;
  try {
    if (!mime->InitStr(MimeCDA())) return nomi;
    for (const auto& parte : mime->Items()) {
      if (parte && parte->ExtractFile(cartella)) nomi.push_back(parte->FileName());
    }
  } catch (const std::exception&) {
    // A part the host cannot write ends the extraction; the names so far stay.
  }
  return nomi;
}

}  // namespace qzkiro::hl7
