#pragma once

#include <libxml/tree.h>

#include <string>
#include <string_view>
#include <vector>

namespace qzkiro::sandbox::nodi {

// Walking a parsed request: each answers empty for a null node.
std::string_view Nome(const xmlNode* n);              // local name
std::string_view Ns(const xmlNode* n);                // namespace URI
std::vector<const xmlNode*> Figli(const xmlNode* n);  // child elements, in order
// The first child element with that namespace and local name; null when none.
const xmlNode* Figlio(const xmlNode* n, std::string_view ns, std::string_view nome);
std::string Testo(const xmlNode* n);  // the text content

}  // namespace qzkiro::sandbox::nodi
