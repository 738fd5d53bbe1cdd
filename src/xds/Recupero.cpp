#include "xds/Recupero.h"

#include "util/Testo.h"
#include "util/clsXML.h"

namespace qzkiro::xds {

namespace {
using util::clsXML;
using Nodo = clsXML::Nodo;

Nodo Figlio(Nodo padre, std::string_view nome) {
  for (Nodo n : clsXML::Figli(padre)) {
    if (clsXML::HaNome(n, nome)) return n;
  }
  return nullptr;
}

// Every RegistryError below `nodo`, wherever the registry response sits.
void Errori(Nodo nodo, std::string& testo) {
  for (Nodo n : clsXML::Figli(nodo)) {
    if (clsXML::HaNome(n, "RegistryError")) {
      if (!testo.empty()) testo += "\r\n";
      testo += clsXML::Attributo(n, "codeContext");
    } else {
      Errori(n, testo);
    }
  }
}

void LeggiDocumento(Nodo risposta, RispostaRecupero& r) {
  r.mime_type = util::Trim(clsXML::Testo(Figlio(risposta, "mimeType")));
  Nodo documento = Figlio(risposta, "Document");
  if (!documento) return;
  if (Nodo include = Figlio(documento, "Include")) {
    r.riferimento = clsXML::Attributo(include, "href");
  } else {
    r.base64 = clsXML::Testo(documento);
  }
}
}  // namespace

std::string CorpoRecupero(std::string_view repository, std::string_view id_documento) {
  return "<RetrieveDocumentSetRequest xmlns=\"urn:ihe:iti:xds-b:2007\"><DocumentRequest>"
         "<RepositoryUniqueId>" +
         util::XmlEscape(repository) + "</RepositoryUniqueId><DocumentUniqueId>" +
         util::XmlEscape(id_documento) +
         "</DocumentUniqueId></DocumentRequest></RetrieveDocumentSetRequest>";
}

RispostaRecupero LeggiRispostaRecupero(std::string_view xml) {
  RispostaRecupero r;
  clsXML doc;
  if (xml.empty() || !doc.LoadXML(std::string(xml))) return r;
  r.xml = true;
  Nodo nodo = doc.rootNode();
  if (clsXML::HaNome(nodo, "Envelope")) nodo = clsXML::PrimoElemento(Figlio(nodo, "Body"));
  if (clsXML::HaNome(nodo, "Fault")) {
    std::string testo = clsXML::Testo(Figlio(nodo, "faultstring"));
    if (testo.empty()) testo = clsXML::Testo(Figlio(Figlio(nodo, "Reason"), "Text"));
    r.errore = testo.empty() ? "Errore sconosciuto" : testo;
    return r;
  }
  Errori(nodo, r.errore);
  if (Nodo risposta = Figlio(nodo, "DocumentResponse")) LeggiDocumento(risposta, r);
  return r;
}

bool MultiparteCompleta(std::string_view testo, std::string_view content_type) {
  const auto at = content_type.find("boundary=");
  if (at == std::string_view::npos) return false;
  std::string_view confine = content_type.substr(at + 9);
  if (!confine.empty() && confine.front() == '"') {
    confine.remove_prefix(1);
    confine = confine.substr(0, confine.find('"'));
  } else {
    confine = confine.substr(0, confine.find_first_of("; \t\r\n"));
  }
  if (confine.empty()) return false;
  const std::string chiusura = "--" + std::string(confine) + "--";
  // The last delimiter of the message; only blank lines or an epilogue follow.
  const auto fine = testo.rfind(chiusura);
  return fine != std::string_view::npos && (fine == 0 || testo[fine - 1] == '\n');
}

FormatoDocumento FormatoDi(std::string_view mime_type) {
  if (mime_type == "application/pdf+text/x-cda-r2+xml") return FormatoDocumento::PdfConCda;
  if (mime_type == "application/pkcs7-mime" || mime_type == "application/x-pkcs7-mime" ||
      mime_type == "application/octet-stream") {
    return FormatoDocumento::Firmato;
  }
  if (mime_type == "application/xml") return FormatoDocumento::Cda;
  if (mime_type == "application/pdf") return FormatoDocumento::Pdf;
  return FormatoDocumento::Ignoto;
}

}  // namespace qzkiro::xds
