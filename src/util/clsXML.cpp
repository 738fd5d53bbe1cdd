#include "util/clsXML.h"

#include <libxml/parser.h>
#include <libxml/xmlsave.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>
#include <libxslt/security.h>
#include <libxslt/transform.h>
#include <libxslt/xslt.h>
#include <libxslt/xsltInternals.h>
#include <libxslt/xsltutils.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "util/Libxml.h"
#include "util/PercorsoXPath.h"
#include "util/Testo.h"
#include "util/clsBase64.h"
#include "util/clsZip.h"

namespace qzkiro::util {

namespace {

// Parsing never reaches the network and never substitutes entities; blank
// text between elements is dropped, as the host's DOM does.
constexpr int kOpzioniParser = XML_PARSE_NONET | XML_PARSE_NOBLANKS | XML_PARSE_NOERROR |
                               XML_PARSE_NOWARNING | XML_PARSE_NOCDATA;

void Silenzio(void*, const char*, ...) {}

// libxml2 and libxslt are set up once per process; their messages are
// collected by the parser contexts instead of going to standard error.
void InizializzaLibrerie() {
  static const bool fatto = [] {
    xmlInitParser();
    xmlSetGenericErrorFunc(nullptr, Silenzio);
    xsltSetGenericErrorFunc(nullptr, Silenzio);
    return true;
  }();
  static_cast<void>(fatto);
}

using libxml::Possiedi;
using libxml::X;

std::string S(const xmlChar* s) {
  return std::string(libxml::Vista(s));
}

libxml::Documento NuovoDoc() {
  return libxml::Documento(xmlNewDoc(BAD_CAST "1.0"));
}

std::string NomeQualificato(xmlNodePtr node) {
  std::string name = S(node->name);
  if (node->ns && node->ns->prefix) name = S(node->ns->prefix) + ":" + name;
  return name;
}

// The attribute with this qualified name ("xsi:type" or "code").
xmlAttrPtr AttributoQualificato(xmlNodePtr node, const std::string& name) {
  if (!node || node->type != XML_ELEMENT_NODE) return nullptr;
  for (xmlAttrPtr a = node->properties; a; a = a->next) {
    std::string qualificato = S(a->name);
    if (a->ns && a->ns->prefix) qualificato = S(a->ns->prefix) + ":" + qualificato;
    if (qualificato == name) return a;
  }
  return nullptr;
}

void SostituisciTesto(xmlNodePtr node, const std::string& text) {
  while (node->children) {
    xmlNodePtr child = node->children;
    xmlUnlinkNode(child);
    libxml::NodoStaccato staccato(child);
  }
  if (!text.empty()) xmlAddChild(node, xmlNewDocText(node->doc, X(text)));
}

// The line `line` (1-based) of `text`, for the parse report.
std::string Riga(std::string_view text, int line) {
  std::size_t at = 0;
  for (int n = 1; n < line && at != std::string::npos; ++n) {
    at = text.find('\n', at);
    if (at != std::string::npos) ++at;
  }
  if (at == std::string::npos || at > text.size()) return {};
  auto end = text.find('\n', at);
  std::string riga(text.substr(at, end == std::string::npos ? end : end - at));
  if (!riga.empty() && riga.back() == '\r') riga.pop_back();
  return riga;
}

// At most kEstratto bytes of `riga` around `colonna` (1-based), cut on
// character boundaries, with control characters shown as '?': a one-line
// document of megabytes, or one carrying terminal escapes, must not end up
// whole in a message box or a log.
constexpr std::size_t kEstratto = 80;

std::string Estratto(const std::string& riga, int colonna, std::size_t massimo = kEstratto) {
  auto confine = [&](std::size_t at) {
    while (at > 0 && at < riga.size() && (static_cast<unsigned char>(riga[at]) & 0xC0) == 0x80) {
      --at;
    }
    return std::min(at, riga.size());
  };
  const std::size_t centro = colonna > 0 ? static_cast<std::size_t>(colonna - 1) : 0;
  const std::size_t inizio =
      riga.size() <= massimo ? 0 : confine(centro > massimo / 2 ? centro - massimo / 2 : 0);
  const std::size_t fine = confine(inizio + massimo);
  std::string estratto = riga.substr(inizio, fine - inizio);
  for (char& c : estratto) {
    const auto u = static_cast<unsigned char>(c);
    if ((u < 0x20 && c != '\t') || u == 0x7F) c = '?';
  }
  return estratto;
}

std::string ParseErrorText(const xmlError* error, std::string_view source) {
  std::string reason = error && error->message ? error->message : "documento non valido";
  while (!reason.empty() && (reason.back() == '\n' || reason.back() == ' ')) reason.pop_back();
  reason = Estratto(reason, 1, 2 * kEstratto);
  const int line = error ? error->line : 0;
  const int column = error ? error->int2 : 0;
  return "    Parse Error: " + reason + "\r\n    linea " + std::to_string(line) +
         "\r\n    colonna " + std::to_string(column) + "\r\n    '" + Estratto(Riga(source, line), column) +
         "'";
}

// Documents of the services (CDA, HL7 v2 XML, SOAP, ebXML, FHIR) never
// declare entities. One that does could make a later read expand its
// references far beyond the document's size (they are kept unexpanded by the
// parser), so it is refused as a whole.
bool DichiaraEntita(const xmlDoc* doc) {
  if (!doc->intSubset) return false;
  for (const xmlNode* n = doc->intSubset->children; n; n = n->next) {
    if (n->type == XML_ENTITY_DECL) return true;
  }
  return false;
}

// The refusal of such a document, placed at its first declaration.
std::string EntitaRifiutate(std::string_view source) {
  const auto at = source.find("<!ENTITY");
  const std::string_view prima = source.substr(0, at == std::string_view::npos ? 0 : at);
  const auto a_capo = prima.rfind('\n');
  const auto line = 1 + std::count(prima.begin(), prima.end(), '\n');
  const auto column = 1 + prima.size() - (a_capo == std::string_view::npos ? 0 : a_capo + 1);
  return "    Parse Error: il documento dichiara entità in un DTD interno e non viene letto"
         "\r\n    linea " +
         std::to_string(line) + "\r\n    colonna " + std::to_string(column) + "\r\n    '" +
         Estratto(Riga(source, static_cast<int>(line)).substr(column - 1), 1) + "'";
}

// The value of a pseudo-attribute of a prolog ("version='1.0' encoding='UTF-8'").
std::string Pseudoattributo(const std::string& data, const std::string& name) {
  for (auto at = data.find(name); at != std::string::npos; at = data.find(name, at + 1)) {
    auto uguale = data.find_first_not_of(' ', at + name.size());
    if (uguale == std::string::npos || data[uguale] != '=') continue;
    auto apertura = data.find_first_not_of(' ', uguale + 1);
    if (apertura == std::string::npos || (data[apertura] != '\'' && data[apertura] != '"'))
      continue;
    auto chiusura = data.find(data[apertura], apertura + 1);
    if (chiusura == std::string::npos) return {};
    return data.substr(apertura + 1, chiusura - apertura - 1);
  }
  return {};
}

bool IniziaCon(std::string_view text, std::string_view prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

struct clsXML::Stato {
  libxml::Documento doc;
  // The earlier document that holds root_, after Load replaced the document.
  libxml::Documento doc_radice;

  // Compiled paths of this document, reused by readers that ask the same path
  // many times; the context is rebuilt when the document changes.
  void Svuota() {
    contesto.reset();
    compilati.clear();
    doc_contesto = nullptr;
  }
  xmlXPathCompExprPtr Compila(const std::string& query, bool nomi_letterali) {
    auto [it, nuovo] = compilati.try_emplace((nomi_letterali ? "L" : "N") + query);
    if (nuovo) it->second.reset(xmlXPathCompile(X(PerNomeLocale(query, nomi_letterali))));
    return it->second.get();
  }
  std::map<std::string, libxml::EspressioneXPath> compilati;
  libxml::ContestoXPath contesto;
  xmlDocPtr doc_contesto = nullptr;
};

clsXML::clsXML() : stato_(std::make_unique<Stato>()) {
  InizializzaLibrerie();
  CreateProcessing("xml", "version='1.0' encoding='UTF-8'");
}

clsXML::~clsXML() = default;
clsXML::clsXML(clsXML&& other) noexcept = default;
clsXML& clsXML::operator=(clsXML&& other) noexcept = default;

void clsXML::CreateProcessing(const std::string& target, const std::string& data) {
  stato_->doc = NuovoDoc();
  root_ = nullptr;
  nomi_letterali_ = false;
  prolog_version_.clear();
  prolog_encoding_.clear();
  if (target == "xml") {
    prolog_version_ = Pseudoattributo(data, "version");
    prolog_encoding_ = Pseudoattributo(data, "encoding");
    if (prolog_version_.empty()) prolog_version_ = "1.0";
  } else {
    AddProcessing(target, data);
  }
}

void clsXML::AddProcessing(const std::string& target, const std::string& data) {
  xmlAddChild(reinterpret_cast<xmlNodePtr>(stato_->doc.get()),
              xmlNewDocPI(stato_->doc.get(), X(target), X(data)));
}

clsXML::Nodo clsXML::CreateRootNode(const std::string& name) {
  nomi_letterali_ |= name.find(':') != std::string::npos;
  xmlNodePtr root = xmlNewDocNode(stato_->doc.get(), nullptr, X(name), nullptr);
  libxml::NodoStaccato vecchio(xmlDocSetRootElement(stato_->doc.get(), root));
  root_ = root;
  return root;
}

clsXML::Nodo clsXML::NuovoElemento(Nodo parent, const std::string& name, bool in_default_ns) {
  if (!parent || name.empty()) return nullptr;
  xmlNodePtr node = xmlNewDocNode(stato_->doc.get(), nullptr, X(name), nullptr);
  nomi_letterali_ |= name.find(':') != std::string::npos;
  const bool sotto_elemento = parent->type == XML_ELEMENT_NODE;
  if (in_default_ns && !default_ns_.empty()) {
    // An element in the default namespace: reuse the parent's declaration
    // when it is the same, otherwise declare it on the element.
    xmlNsPtr ns = sotto_elemento ? xmlSearchNs(stato_->doc.get(), parent, nullptr) : nullptr;
    if (!ns || S(ns->href) != default_ns_) ns = xmlNewNs(node, X(default_ns_), nullptr);
    xmlSetNs(node, ns);
  } else if (sotto_elemento) {
    // An element in no namespace below one in a default namespace says so
    // with xmlns="", as the host's DOM writes it.
    xmlNsPtr ereditato = xmlSearchNs(stato_->doc.get(), parent, nullptr);
    if (ereditato && ereditato->href && *ereditato->href) xmlNewNs(node, BAD_CAST "", nullptr);
  }
  return node;
}

void clsXML::ApplicaAttributi(Nodo node, const std::vector<std::string>& attributi) {
  for (std::size_t i = 0; i + 1 < attributi.size(); i += 2) {
    AddAttribute(node, attributi[i], attributi[i + 1]);
  }
}

clsXML::Nodo clsXML::CreateNode(Nodo parent, const std::string& name, const std::string& text) {
  xmlNodePtr node = NuovoElemento(parent, name, false);
  if (!node) return nullptr;
  if (!text.empty()) SostituisciTesto(node, ReplaceEuro(text));
  return xmlAddChild(parent, node);
}

clsXML::Nodo clsXML::AddNode(Nodo parent, const std::string& name, const std::string& text,
                             const std::vector<std::string>& attributi) {
  xmlNodePtr node = NuovoElemento(parent, name, true);
  if (!node) return nullptr;
  if (!text.empty()) {
    std::string testo = ReplaceEuro(text);
    SostituisciTesto(node, clean_ ? EncodeNonAscii(testo) : testo);
  }
  ApplicaAttributi(node, attributi);
  return xmlAddChild(parent, node);
}

clsXML::Nodo clsXML::AddNodeB64(Nodo parent, const std::string& name, const std::string& text,
                                const std::vector<std::string>& attributi) {
  xmlNodePtr node = NuovoElemento(parent, name, true);
  if (!node) return nullptr;
  if (!text.empty()) SostituisciTesto(node, clsBase64::EncodeBytes(ComeByte(ReplaceEuro(text))));
  ApplicaAttributi(node, attributi);
  return xmlAddChild(parent, node);
}

clsXML::Nodo clsXML::InsertNode(Nodo parent, Nodo before, const std::string& name,
                                const std::string& text,
                                const std::vector<std::string>& attributi) {
  xmlNodePtr node = NuovoElemento(parent, name, true);
  if (!node) return nullptr;
  if (!text.empty()) SostituisciTesto(node, ReplaceEuro(text));
  ApplicaAttributi(node, attributi);
  if (before && before->parent == parent) return xmlAddPrevSibling(before, node);
  return xmlAddChild(parent, node);
}

clsXML::Nodo clsXML::CreateCloneNode(Nodo parent, Nodo clone) {
  if (!clone) return nullptr;
  xmlNodePtr node = NuovoElemento(parent, NomeQualificato(clone), false);
  if (!node) return nullptr;
  SostituisciTesto(node, Testo(clone));
  for (xmlAttrPtr a = clone->properties; a; a = a->next) {
    std::string name = S(a->name);
    if (a->ns && a->ns->prefix) name = S(a->ns->prefix) + ":" + name;
    AddAttribute(node, name, Possiedi(xmlNodeListGetString(clone->doc, a->children, 1)));
  }
  return xmlAddChild(parent, node);
}

void clsXML::AddAttribute(Nodo node, const std::string& name, const std::string& data) {
  if (!node || node->type != XML_ELEMENT_NODE || name.empty()) return;
  if (xmlAttrPtr esistente = AttributoQualificato(node, name)) {
    SostituisciTesto(reinterpret_cast<xmlNodePtr>(esistente), data);
    return;
  }
  xmlNewProp(node, X(name), X(data));
}

void clsXML::SetAttribute(Nodo node, const std::string& name, const std::string& data) {
  AddAttribute(node, name, data);
}

void clsXML::SetAttributeNode(Nodo parent, const std::string& query, const std::string& name,
                              const std::string& data) {
  SetAttribute(SelectNode(parent, query), name, data);
}

std::string clsXML::SetTextNode(Nodo parent, const std::string& query, const std::string& text) {
  if (xmlNodePtr node = SelectNode(parent, query)) SostituisciTesto(node, ReplaceEuro(text));
  return {};
}

void clsXML::FormatXmlNode(Nodo node, std::int16_t indent) {
  if (!node || node->type == XML_TEXT_NODE) return;
  bool solo_testo = true;
  for (xmlNodePtr c = node->children; c; c = c->next) solo_testo &= c->type == XML_TEXT_NODE;
  if (node->children && !solo_testo) {
    xmlAddPrevSibling(node->children, xmlNewDocText(stato_->doc.get(), BAD_CAST "\r\n"));
  }
  std::vector<xmlNodePtr> figli;
  for (xmlNodePtr c = node->children; c; c = c->next) figli.push_back(c);
  for (xmlNodePtr figlio : figli) FormatXmlNode(figlio, static_cast<std::int16_t>(indent + 2));
  if (indent > 0) {
    const std::string blank(static_cast<std::size_t>(indent), ' ');
    xmlAddPrevSibling(node, xmlNewDocText(stato_->doc.get(), X(blank)));
    if (!solo_testo) xmlAddChild(node, xmlNewDocText(stato_->doc.get(), X(blank)));
    xmlAddNextSibling(node, xmlNewDocText(stato_->doc.get(), BAD_CAST "\r\n"));
  }
}

clsXML::Nodo clsXML::ContestoQuery(Nodo parent) const {
  return parent ? parent : reinterpret_cast<xmlNodePtr>(stato_->doc.get());
}

namespace {

// Whether the element's local name is `nome`; with `letterali`, also the part
// after the colon of a name built with its prefix written in.
bool NomeLocale(xmlNodePtr n, std::string_view nome, bool letterali) {
  if (n->type != XML_ELEMENT_NODE) return false;
  const std::string_view proprio = reinterpret_cast<const char*>(n->name);
  if (proprio == nome) return true;
  const auto due_punti = letterali ? proprio.find(':') : std::string_view::npos;
  return due_punti != std::string_view::npos && proprio.substr(due_punti + 1) == nome;
}

// A plain path followed child by child: the nodes XPath would select, in
// document order, without evaluating an expression.
std::vector<xmlNodePtr> Cammina(xmlNodePtr contesto, const std::vector<std::string_view>& passi,
                                bool letterali) {
  std::vector<xmlNodePtr> correnti{contesto}, prossimi;
  for (std::string_view passo : passi) {
    prossimi.clear();
    for (xmlNodePtr n : correnti) {
      for (xmlNodePtr c = n->children; c; c = c->next) {
        if (NomeLocale(c, passo, letterali)) prossimi.push_back(c);
      }
    }
    correnti.swap(prossimi);
    if (correnti.empty()) break;
  }
  return correnti;
}

// The first of those nodes: depth first, so in document order.
xmlNodePtr CamminaPrimo(xmlNodePtr n, const std::vector<std::string_view>& passi, std::size_t passo,
                        bool letterali) {
  if (passo == passi.size()) return n;
  for (xmlNodePtr c = n->children; c; c = c->next) {
    if (!NomeLocale(c, passi[passo], letterali)) continue;
    if (xmlNodePtr trovato = CamminaPrimo(c, passi, passo + 1, letterali)) return trovato;
  }
  return nullptr;
}

}  // namespace

clsXML::Nodo clsXML::SelectNode(Nodo parent, const std::string& query) {
  if (query.empty() || (parent && parent->doc != stato_->doc.get())) return nullptr;
  if (auto passi = PassiSemplici(query)) {
    return CamminaPrimo(ContestoQuery(parent), *passi, 0, nomi_letterali_);
  }
  auto nodes = SelectNodeList(parent, query);
  return nodes.empty() ? nullptr : nodes.front();
}

std::vector<clsXML::Nodo> clsXML::SelectNodeList(Nodo parent, const std::string& query) {
  std::vector<Nodo> out;
  if (query.empty() || (parent && parent->doc != stato_->doc.get())) return out;
  if (auto passi = PassiSemplici(query))
    return Cammina(ContestoQuery(parent), *passi, nomi_letterali_);
  if (stato_->doc_contesto != stato_->doc.get() || !stato_->contesto) {
    stato_->Svuota();
    stato_->doc_contesto = stato_->doc.get();
    stato_->contesto.reset(xmlXPathNewContext(stato_->doc.get()));
  }
  xmlXPathCompExprPtr compiled = stato_->Compila(query, nomi_letterali_);
  if (!compiled || !stato_->contesto) return out;
  stato_->contesto->node = ContestoQuery(parent);
  const libxml::EsitoXPath result(xmlXPathCompiledEval(compiled, stato_->contesto.get()));
  if (result && result->type == XPATH_NODESET && result->nodesetval) {
    for (int i = 0; i < result->nodesetval->nodeNr; ++i) {
      out.push_back(result->nodesetval->nodeTab[i]);
    }
  }
  return out;
}

std::string clsXML::GetNode(Nodo parent, const std::string& query) {
  return Testo(SelectNode(parent, query));
}

std::string clsXML::GetTextNode(Nodo parent, const std::string& query, bool remove_entity) {
  std::string text = GetNode(parent, query);
  return remove_entity ? DecodeEntities(text) : text;
}

std::string clsXML::GetAttribute(Nodo node, const std::string& name,
                                 const std::optional<std::string>& predefinito) {
  xmlAttrPtr attributo = AttributoQualificato(node, name);
  if (!attributo) return predefinito.value_or("");
  return Possiedi(xmlNodeListGetString(node->doc, attributo->children, 1));
}

std::string clsXML::GetAttributeNode(Nodo parent, const std::string& query,
                                     const std::string& attributo, bool remove_entity) {
  std::string text = GetAttribute(SelectNode(parent, query), attributo);
  return remove_entity ? DecodeEntities(text) : text;
}

bool clsXML::ExistNode(Nodo parent, const std::string& query) {
  return SelectNode(parent, query) != nullptr;
}

bool clsXML::ExistProcessing(const std::string& target) const {
  for (xmlNodePtr n = stato_->doc->children; n; n = n->next) {
    if (n->type == XML_PI_NODE && S(n->name) == target) return true;
  }
  return false;
}

void clsXML::RemoveNode(Nodo node) {
  // Only nodes linked in this document's tree: not the document itself, nor
  // the namespace entries XPath hands out.
  if (!node || node->type == XML_DOCUMENT_NODE || node->type == XML_NAMESPACE_DECL) return;
  if (node->doc != stato_->doc.get()) return;
  if (node == root_) root_ = nullptr;
  xmlUnlinkNode(node);
  libxml::NodoStaccato staccato(node);
}

// --- walking nodes ---

clsXML::Nodo clsXML::PrimoFiglio(Nodo padre) {
  return padre ? padre->children : nullptr;
}

clsXML::Nodo clsXML::Seguente(Nodo node) {
  return node ? node->next : nullptr;
}

clsXML::Nodo clsXML::PrimoElemento(Nodo padre) {
  for (Nodo c = padre ? padre->children : nullptr; c; c = c->next) {
    if (c->type == XML_ELEMENT_NODE) return c;
  }
  return nullptr;
}

clsXML::Nodo clsXML::ElementoSeguente(Nodo node) {
  for (Nodo s = node ? node->next : nullptr; s; s = s->next) {
    if (s->type == XML_ELEMENT_NODE) return s;
  }
  return nullptr;
}

clsXML::Nodo clsXML::ElementoPrecedente(Nodo node) {
  for (Nodo p = node ? node->prev : nullptr; p; p = p->prev) {
    if (p->type == XML_ELEMENT_NODE) return p;
  }
  return nullptr;
}

clsXML::Nodo clsXML::Padre(Nodo node) {
  Nodo su = node ? node->parent : nullptr;
  return su && su->type == XML_ELEMENT_NODE ? su : nullptr;
}

bool clsXML::Elemento(Nodo node) {
  return node && node->type == XML_ELEMENT_NODE;
}

std::string_view clsXML::Nome(Nodo node) {
  return Elemento(node) ? libxml::Vista(node->name) : std::string_view();
}

bool clsXML::HaNome(Nodo node, std::string_view nome) {
  if (!Elemento(node) || !node->name) return false;
  // Compared without measuring the name first: most names differ early.
  const char* proprio = reinterpret_cast<const char*>(node->name);
  return std::strncmp(proprio, nome.data(), nome.size()) == 0 && proprio[nome.size()] == '\0';
}

std::string clsXML::Attributo(Nodo node, std::string_view nome) {
  if (!Elemento(node)) return {};
  for (xmlAttrPtr a = node->properties; a; a = a->next) {
    const char* proprio = reinterpret_cast<const char*>(a->name);
    if (std::strncmp(proprio, nome.data(), nome.size()) != 0 || proprio[nome.size()] != '\0') {
      continue;
    }
    // A plain value is one text child: read it without a copy in between.
    const xmlNode* valore = a->children;
    if (valore && !valore->next && valore->type == XML_TEXT_NODE && valore->content) {
      return reinterpret_cast<const char*>(valore->content);
    }
    return Possiedi(xmlNodeListGetString(node->doc, a->children, 1));
  }
  return {};
}

std::string clsXML::Testo(Nodo node) {
  if (!node) return {};
  // An element with one text child: its content as it is.
  if (node->type == XML_ELEMENT_NODE) {
    const xmlNode* c = node->children;
    if (c && !c->next && c->type == XML_TEXT_NODE && c->content) {
      return reinterpret_cast<const char*>(c->content);
    }
  }
  return Possiedi(xmlNodeGetContent(node));
}

std::string_view clsXML::TestoProprio(Nodo node) {
  if (!node || (node->type != XML_TEXT_NODE && node->type != XML_CDATA_SECTION_NODE)) return {};
  return libxml::Vista(node->content);
}

std::string clsXML::ToHTML(Nodo parent) {
  std::function<std::string(xmlNodePtr)> tabella = [&](xmlNodePtr node) {
    std::string out = "<table border=\"1\" width=\"100%\">";
    for (xmlNodePtr child : SelectNodeList(node, "*")) {
      int figli = 0;
      for (xmlNodePtr c = child->children; c; c = c->next) ++figli;
      out += "<tr><td bgcolor=\"#EEEEEE\">" + S(child->name) + "</td>";
      out += figli < 2 ? "<td bgcolor=\"#FFFFFF\">" + Testo(child) + "</td>"
                       : "<td>" + tabella(child) + "</td>";
      out += "</tr>";
    }
    return out + "</table>";
  };
  return "<html>" + tabella(ContestoQuery(parent)) + "</html>";
}

std::string clsXML::Stylesheet() {
  const std::string text = Serializza(true);
  auto at = text.find("<?xml-stylesheet ");
  if (at == std::string::npos) return {};
  at = text.find("href=\"", at);
  if (at == std::string::npos) return {};
  at += 6;
  auto end = text.find('"', at);
  return end == std::string::npos ? std::string() : text.substr(at, end - at);
}

std::string clsXML::Serializza(bool unicode) {
  const std::string encoding = prolog_encoding_.empty() ? "UTF-8" : prolog_encoding_;
  std::string out;
  if (!prolog_version_.empty()) {
    out = "<?xml version=\"" + prolog_version_ + "\"";
    if (!unicode) out += " encoding=\"" + encoding + "\"";
    out += "?>\r\n";
  }
  for (xmlNodePtr node = stato_->doc->children; node; node = node->next) {
    if (node->type == XML_DTD_NODE) continue;
    out += SalvaNodo(node, unicode ? "UTF-8" : encoding.c_str()) + "\r\n";
  }
  return out;
}

std::string clsXML::XML() {
  return Serializza(false);
}

std::string clsXML::XML_UTF8() {
  std::string text = Serializza(true);
  if (IniziaCon(text, "<?xml version=\"1.0\"?>")) {
    text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + text.substr(21);
  }
  return text;
}

std::string clsXML::XMLNoProcessing() {
  std::string text = XML();
  if (IniziaCon(text, "<?")) {
    auto end = text.find("?>");
    text = end == std::string::npos ? std::string() : text.substr(end + 2);
  }
  if (IniziaCon(text, "\r\n")) text.erase(0, 2);
  if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0)
    text.resize(text.size() - 2);
  return text;
}

bool clsXML::Parse(std::string_view bytes, const std::string& url) {
  const libxml::ContestoParser ctxt(xmlNewParserCtxt());
  if (!ctxt) return false;
  // Text handed over in memory is already Unicode: its declared encoding is
  // ignored, as the host's DOM does; files are read in their own encoding.
  const char* encoding = url.empty() ? "UTF-8" : nullptr;
  libxml::Documento letto(
      xmlCtxtReadMemory(ctxt.get(), bytes.data(), static_cast<int>(bytes.size()),
                        url.empty() ? "memoria.xml" : url.c_str(), encoding, kOpzioniParser));
  if (!letto || !xmlDocGetRootElement(letto.get())) {
    last_error_ = ParseErrorText(xmlCtxtGetLastError(ctxt.get()), bytes);
    return false;
  }
  if (DichiaraEntita(letto.get())) {
    last_error_ = EntitaRifiutate(bytes);
    return false;
  }
  // The document that holds the stored root stays alive until the root changes.
  if (root_ && root_->doc == stato_->doc.get()) stato_->doc_radice = std::move(stato_->doc);
  stato_->doc = std::move(letto);
  const xmlDoc* doc = stato_->doc.get();
  nomi_letterali_ = false;
  const bool ha_prolog = IniziaCon(bytes, "<?xml") || IniziaCon(bytes, "\xEF\xBB\xBF<?xml");
  prolog_version_ = ha_prolog ? S(doc->version) : "";
  prolog_encoding_ = ha_prolog && !url.empty() && doc->encoding ? S(doc->encoding) : "";
  return true;
}

void clsXML::ImpostaRadice() {
  root_ = xmlDocGetRootElement(stato_->doc.get());
  stato_->doc_radice.reset();
}

bool clsXML::LoadXML(const std::string& xml, bool remove_name_space) {
  // Parsed from the caller's text (no copy of a large answer) unless the
  // namespace removal rewrites it.
  std::string_view text = xml;
  if (IniziaCon(text, "\xEF\xBB\xBF")) text.remove_prefix(3);
  if (IniziaCon(text, "ï»¿")) text.remove_prefix(std::string_view("ï»¿").size());
  const std::string ripulito = remove_name_space ? RemoveNameSpace(std::string(text)) : "";
  if (!Parse(remove_name_space ? std::string_view(ripulito) : text, {})) return false;
  ImpostaRadice();
  return true;
}

bool clsXML::LoadFileXML(const std::string& file, bool remove_name_space) {
  if (remove_name_space) RipulisciFile(file);
  auto bytes = LeggiFile(file);
  if (!bytes) {
    last_error_ =
        "    Parse Error: file non trovato o non leggibile\r\n    linea 0\r\n"
        "    colonna 0\r\n    '" +
        file + "'";
    return false;
  }
  if (!Parse(ComeTesto(*bytes), file)) return false;
  ImpostaRadice();
  return true;
}

void clsXML::RipulisciFile(const std::string& file) {
  // The file's bytes are taken one per character, repaired, stripped of
  // prefixes and of a doubled prolog, and written back.
  std::string text = ComeTesto(LeggiFile(file).value_or(Bytes{}));
  text = RemoveDoubleHeader(RemoveNameSpace(RemoveSpecChars(text)));
  if (text.size() >= 8 && text.compare(3, 5, "<?xml") == 0) text.erase(0, 3);
  std::string minuscolo = text;
  std::transform(minuscolo.begin(), minuscolo.end(), minuscolo.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  const bool utf8 = minuscolo.find("utf-8") != std::string::npos;
  ScriviFile(file, ComeByte(utf8 ? Cp1252ToUtf8(text) : text + "\r\n"));
}

bool clsXML::Load(const std::string& file) {
  auto bytes = LeggiFile(file);
  if (!bytes) return false;
  // Neither the stored root nor the last error change here.
  const std::string errore = last_error_;
  const bool ok = Parse(ComeTesto(*bytes), file);
  last_error_ = errore;
  return ok;
}

bool clsXML::SaveFile(const std::string& file) {
  return ScriviFile(file, ComeByte(XML()));
}

bool clsXML::SaveFileZip(const std::string& file, const std::string& password) {
  const auto slash = file.find_last_of("\\/");
  if (slash == std::string::npos) {
    last_error_ = "Non è stato specificato il percorso del file da salvare";
    if (MostraAvviso) MostraAvviso(last_error_, "Salva File");
    return false;
  }
  std::string nome = file.substr(slash + 1);
  std::string estensione = nome.size() >= 4 ? nome.substr(nome.size() - 4) : "";
  std::transform(estensione.begin(), estensione.end(), estensione.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  nome = estensione == ".xml" ? nome.substr(0, nome.size() - 4) + ".zip" : nome + ".zip";
  if (!SaveFile(file)) return false;
  clsZip zip;
  const bool ok = zip.ZipFile(file, file.substr(0, slash + 1) + nome, password);
  if (!ok) last_error_ = zip.LastError();
  std::remove(file.c_str());
  return ok;
}

std::string clsXML::TransformXSL(const std::string& file_xsl, bool allow_document_function) {
  const std::string testo = XML();
  const libxml::Documento copia =
      libxml::LeggiMemoria(testo, "documento.xml", nullptr, kOpzioniParser);
  libxml::Documento xsl(
      xmlReadFile(file_xsl.c_str(), nullptr, kOpzioniParser & ~XML_PARSE_NOBLANKS));
  libxml::FoglioStile stile(xsl ? xsltParseStylesheetDoc(xsl.get()) : nullptr);
  if (!stile) return {};
  // The stylesheet owns its document from here on.
  static_cast<void>(xsl.release());
  if (!copia) return {};

  // Writing and the network are never allowed; reading other documents only
  // when the caller allows the document() function.
  const libxml::RegoleSicurezza regole(xsltNewSecurityPrefs());
  if (!regole) return {};
  xsltSetSecurityPrefs(regole.get(), XSLT_SECPREF_WRITE_FILE, xsltSecurityForbid);
  xsltSetSecurityPrefs(regole.get(), XSLT_SECPREF_CREATE_DIRECTORY, xsltSecurityForbid);
  xsltSetSecurityPrefs(regole.get(), XSLT_SECPREF_WRITE_NETWORK, xsltSecurityForbid);
  xsltSetSecurityPrefs(regole.get(), XSLT_SECPREF_READ_NETWORK, xsltSecurityForbid);
  if (!allow_document_function) {
    xsltSetSecurityPrefs(regole.get(), XSLT_SECPREF_READ_FILE, xsltSecurityForbid);
  }
  const libxml::ContestoTrasformazione ctxt(xsltNewTransformContext(stile.get(), copia.get()));
  if (!ctxt) return {};
  xsltSetCtxtSecurityPrefs(regole.get(), ctxt.get());
  ctxt->parserOptions |= XML_PARSE_NONET;
  const libxml::Documento risultato(
      xsltApplyStylesheetUser(stile.get(), copia.get(), nullptr, nullptr, nullptr, ctxt.get()));
  if (!risultato || ctxt->state != XSLT_STATE_OK) return {};
  // The result is text in UTF-8 whatever the stylesheet's output encoding.
  const xmlChar* encoding = stile->encoding;
  stile->encoding = BAD_CAST "UTF-8";
  xmlChar* scritto = nullptr;
  int length = 0;
  const int esito = xsltSaveResultToString(&scritto, &length, risultato.get(), stile.get());
  const libxml::TestoXml buffer(scritto);
  stile->encoding = const_cast<xmlChar*>(encoding);
  return esito == 0 && buffer ? std::string(reinterpret_cast<const char*>(buffer.get()),
                                            static_cast<std::size_t>(length))
                              : std::string();
}

_xmlDoc* clsXML::Document() const {
  return stato_->doc.get();
}

void clsXML::SetDocument(xmlDocPtr doc) {
  if (!doc) return;
  stato_->doc.reset(doc);
  stato_->doc_radice.reset();
  root_ = xmlDocGetRootElement(doc);
  prolog_version_ = S(doc->version);
  prolog_encoding_ = doc->encoding ? S(doc->encoding) : "";
}

std::string clsXML::TempDir() const {
  if (temp_dir_) return *temp_dir_;
  std::error_code error;
  std::string dir = std::filesystem::temp_directory_path(error).string();
  while (dir.size() > 1 && (dir.back() == '/' || dir.back() == '\\')) dir.pop_back();
  return dir;
}

std::string clsXML::SalvaNodo(Nodo node, const char* encoding) {
  if (!node) return {};
  const libxml::Buffer buffer(xmlBufferCreate());
  if (!buffer) return {};
  libxml::Salvataggio save(
      xmlSaveToBuffer(buffer.get(), encoding, XML_SAVE_NO_DECL | XML_SAVE_AS_XML));
  if (save) {
    xmlSaveTree(save.get(), node);
    save.reset();  // flushes into the buffer
  }
  std::string out(reinterpret_cast<const char*>(xmlBufferContent(buffer.get())),
                  static_cast<std::size_t>(xmlBufferLength(buffer.get())));
  // Carriage returns are written as they are, as the host's DOM does (an
  // escaped one can only come from a CR: a literal "&" is always escaped).
  if (out.find("&#13;") == std::string::npos) return out;
  std::string testo;
  testo.reserve(out.size());
  for (std::size_t at = 0; at < out.size();) {
    if (out.compare(at, 5, "&#13;") == 0) {
      testo.push_back('\r');
      at += 5;
    } else {
      testo.push_back(out[at++]);
    }
  }
  return testo;
}

}  // namespace qzkiro::util
