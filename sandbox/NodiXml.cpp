#include "sandbox/NodiXml.h"

#include "util/Libxml.h"

namespace qzkiro::sandbox::nodi {

std::string_view Nome(const xmlNode* n) {
  return n ? util::libxml::Vista(n->name) : std::string_view();
}

std::string_view Ns(const xmlNode* n) {
  return n && n->ns ? util::libxml::Vista(n->ns->href) : std::string_view();
}

std::vector<const xmlNode*> Figli(const xmlNode* n) {
  std::vector<const xmlNode*> figli;
  for (const xmlNode* f = n ? n->children : nullptr; f; f = f->next) {
    if (f->type == XML_ELEMENT_NODE) figli.push_back(f);
  }
  return figli;
}

const xmlNode* Figlio(const xmlNode* n, std::string_view ns, std::string_view nome) {
  for (const xmlNode* f : Figli(n)) {
    if (Nome(f) == nome && Ns(f) == ns) return f;
  }
  return nullptr;
}

std::string Testo(const xmlNode* n) {
  return n ? util::libxml::Possiedi(xmlNodeGetContent(n)) : std::string();
}

}  // namespace qzkiro::sandbox::nodi
