#include "refhost/ConfigXML.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <sstream>

#include "qzkiro/Failure.h"

namespace qzkiro::refhost {

namespace {

constexpr long kXmlNonValido = 5;
constexpr int kOpzioni = XML_PARSE_NONET | XML_PARSE_NOBLANKS;

const xmlChar* X(const std::string& s) {
  return reinterpret_cast<const xmlChar*>(s.c_str());
}

std::string Stringa(xmlChar* owned) {
  std::string out = owned ? reinterpret_cast<const char*>(owned) : "";
  xmlFree(owned);
  return out;
}

// An element of the document; holds the document alive.
class Nodo : public host::IConfigNode {
 public:
  Nodo(std::shared_ptr<xmlDoc> doc, xmlNodePtr node) : doc_(std::move(doc)), node_(node) {}

  std::string Name() override { return reinterpret_cast<const char*>(node_->name); }
  std::string Text() override { return Stringa(xmlNodeGetContent(node_)); }
  std::string GetAttribute(const std::string& name) override {
    return Stringa(xmlGetProp(node_, X(name)));
  }
  void SetAttribute(const std::string& name, const std::string& value) override {
    xmlSetProp(node_, X(name), X(value));
  }
  std::vector<std::shared_ptr<host::IConfigNode>> SelectNodes(const std::string& path) override {
    std::vector<xmlNodePtr> livello{node_};
    std::stringstream passi(path);
    std::string passo;
    while (std::getline(passi, passo, '/')) {
      if (passo.empty()) continue;
      std::vector<xmlNodePtr> prossimo;
      for (xmlNodePtr padre : livello) {
        for (xmlNodePtr figlio = padre->children; figlio; figlio = figlio->next) {
          if (figlio->type == XML_ELEMENT_NODE && xmlStrcmp(figlio->name, X(passo)) == 0) {
            prossimo.push_back(figlio);
          }
        }
      }
      livello = std::move(prossimo);
    }
    std::vector<std::shared_ptr<host::IConfigNode>> out;
    for (xmlNodePtr node : livello) out.push_back(std::make_shared<Nodo>(doc_, node));
    return out;
  }

 private:
  std::shared_ptr<xmlDoc> doc_;
  xmlNodePtr node_;
};

std::shared_ptr<xmlDoc> Possiedi(xmlDocPtr doc, const std::string& origine) {
  if (!doc || !xmlDocGetRootElement(doc)) {
    if (doc) xmlFreeDoc(doc);
    const xmlError* error = xmlGetLastError();
    std::string detail = error && error->message ? error->message : "documento vuoto";
    while (!detail.empty() && detail.back() == '\n') detail.pop_back();
    throw Failure(kXmlNonValido, "Configurazione non valida (" + origine + "): " + detail);
  }
  return std::shared_ptr<xmlDoc>(doc, xmlFreeDoc);
}

}  // namespace

std::shared_ptr<ConfigXML> ConfigXML::DaFile(const std::string& file) {
  return std::make_shared<ConfigXML>(Possiedi(xmlReadFile(file.c_str(), nullptr, kOpzioni), file));
}

std::shared_ptr<ConfigXML> ConfigXML::DaTesto(const std::string& xml) {
  return std::make_shared<ConfigXML>(Possiedi(
      xmlReadMemory(xml.data(), static_cast<int>(xml.size()), "config.xml", nullptr, kOpzioni),
      "testo"));
}

std::shared_ptr<host::IConfigNode> ConfigXML::rootNode() {
  return std::make_shared<Nodo>(doc_, xmlDocGetRootElement(doc_.get()));
}

std::string ConfigXML::GetTextNode(const std::shared_ptr<host::IConfigNode>& node,
                                   const std::string& path) {
  if (!node) return {};
  auto trovati = node->SelectNodes(path);
  return trovati.empty() ? std::string() : trovati.front()->Text();
}

std::string ConfigXML::Testo() const {
  xmlChar* buffer = nullptr;
  int size = 0;
  xmlDocDumpFormatMemoryEnc(doc_.get(), &buffer, &size, "UTF-8", 1);
  std::string out(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(size));
  xmlFree(buffer);
  return out;
}

void ConfigXML::Salva(const std::string& file) const {
  if (xmlSaveFormatFileEnc(file.c_str(), doc_.get(), "UTF-8", 1) < 0) {
    throw Failure(kXmlNonValido, "Impossibile salvare la configurazione in " + file);
  }
}

}  // namespace qzkiro::refhost
