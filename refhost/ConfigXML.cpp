#include "refhost/ConfigXML.h"

#include <sstream>

#include "qzkiro/Failure.h"
#include "util/Libxml.h"

namespace qzkiro::refhost {

namespace {

namespace libxml = util::libxml;
using libxml::Possiedi;
using libxml::X;

constexpr long kXmlNonValido = 5;
constexpr int kOpzioni = XML_PARSE_NONET | XML_PARSE_NOBLANKS;

// An element of the document; holds the document alive.
class Nodo : public host::IConfigNode {
 public:
  Nodo(std::shared_ptr<xmlDoc> doc, xmlNodePtr node) : doc_(std::move(doc)), node_(node) {}

  std::string Name() override { return reinterpret_cast<const char*>(node_->name); }
  std::string Text() override { return Possiedi(xmlNodeGetContent(node_)); }
  std::string GetAttribute(const std::string& name) override {
    return Possiedi(xmlGetProp(node_, X(name)));
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

// The parsed document, shared by the nodes handed out; a document without an
// element is no configuration.
std::shared_ptr<xmlDoc> Condividi(libxml::Documento doc, const std::string& origine) {
  if (!doc || !xmlDocGetRootElement(doc.get())) {
    const xmlError* error = xmlGetLastError();
    std::string detail = error && error->message ? error->message : "documento vuoto";
    while (!detail.empty() && detail.back() == '\n') detail.pop_back();
    throw Failure(kXmlNonValido, "Configurazione non valida (" + origine + "): " + detail);
  }
  return std::shared_ptr<xmlDoc>(std::move(doc));
}

}  // namespace

std::shared_ptr<ConfigXML> ConfigXML::DaFile(const std::string& file) {
  return std::make_shared<ConfigXML>(
      Condividi(libxml::Documento(xmlReadFile(file.c_str(), nullptr, kOpzioni)), file));
}

std::shared_ptr<ConfigXML> ConfigXML::DaTesto(const std::string& xml) {
  return std::make_shared<ConfigXML>(
      Condividi(libxml::LeggiMemoria(xml, "config.xml", nullptr, kOpzioni), "testo"));
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
  xmlChar* scritto = nullptr;
  int size = 0;
  xmlDocDumpFormatMemoryEnc(doc_.get(), &scritto, &size, "UTF-8", 1);
  const libxml::TestoXml buffer(scritto);
  return buffer ? std::string(reinterpret_cast<const char*>(buffer.get()),
                              static_cast<std::size_t>(size))
                : std::string();
}

void ConfigXML::Salva(const std::string& file) const {
  if (xmlSaveFormatFileEnc(file.c_str(), doc_.get(), "UTF-8", 1) < 0) {
    throw Failure(kXmlNonValido, "Impossibile salvare la configurazione in " + file);
  }
}

}  // namespace qzkiro::refhost
