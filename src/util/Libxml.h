#pragma once

// Ownership of libxml2 and libxslt handles. Each handle the code holds has a
// std::unique_ptr alias whose deleter calls the library's own free function,
// so a handle is released exactly once, on every path, by its last holder.

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlsave.h>
#include <libxml/xpath.h>
#include <libxslt/security.h>
#include <libxslt/transform.h>
#include <libxslt/xsltInternals.h>

#include <climits>
#include <memory>
#include <string>
#include <string_view>

namespace qzkiro::util::libxml {

// Calls `Libera` on the handle; std::unique_ptr never hands it a null one.
template <auto Libera>
struct Liberatore {
  template <class T>
  void operator()(T* handle) const noexcept {
    Libera(handle);
  }
};

// Strings the library allocates (xmlNodeGetContent, xmlGetProp, dumps) go
// back through xmlFree, which is a variable (the allocator can be replaced at
// run time), so it is called through its current value.
struct LiberaTesto {
  void operator()(xmlChar* testo) const noexcept { xmlFree(testo); }
};

using Documento = std::unique_ptr<xmlDoc, Liberatore<xmlFreeDoc>>;
// A node unlinked from its document (or never linked): freed with its
// subtree. Free it while its document lives: a parsed node's names belong to
// the document's dictionary, which freeing the node consults.
using NodoStaccato = std::unique_ptr<xmlNode, Liberatore<xmlFreeNode>>;
using ContestoParser = std::unique_ptr<xmlParserCtxt, Liberatore<xmlFreeParserCtxt>>;
using ContestoXPath = std::unique_ptr<xmlXPathContext, Liberatore<xmlXPathFreeContext>>;
using EspressioneXPath = std::unique_ptr<xmlXPathCompExpr, Liberatore<xmlXPathFreeCompExpr>>;
using EsitoXPath = std::unique_ptr<xmlXPathObject, Liberatore<xmlXPathFreeObject>>;
using Buffer = std::unique_ptr<xmlBuffer, Liberatore<xmlBufferFree>>;
// Closing a save context flushes what it wrote into its buffer: reset it
// before reading the buffer.
using Salvataggio = std::unique_ptr<xmlSaveCtxt, Liberatore<xmlSaveClose>>;
using TestoXml = std::unique_ptr<xmlChar, LiberaTesto>;
using FoglioStile = std::unique_ptr<xsltStylesheet, Liberatore<xsltFreeStylesheet>>;
using RegoleSicurezza = std::unique_ptr<xsltSecurityPrefs, Liberatore<xsltFreeSecurityPrefs>>;
using ContestoTrasformazione =
    std::unique_ptr<xsltTransformContext, Liberatore<xsltFreeTransformContext>>;

// The deleters hold no state: a holder costs one pointer.
static_assert(sizeof(Documento) == sizeof(xmlDoc*));
static_assert(sizeof(TestoXml) == sizeof(xmlChar*));

// Takes over a string the library allocated and returns its text; "" for null.
inline std::string Possiedi(xmlChar* posseduto) {
  const TestoXml testo(posseduto);
  return testo ? std::string(reinterpret_cast<const char*>(testo.get())) : std::string();
}

// A library string read in place; "" for null.
inline std::string_view Vista(const xmlChar* testo) {
  return testo ? std::string_view(reinterpret_cast<const char*>(testo)) : std::string_view();
}

// A NUL-terminated text as the library takes it.
inline const xmlChar* X(const std::string& testo) {
  return reinterpret_cast<const xmlChar*>(testo.c_str());
}

// Parses text in memory (xmlReadMemory); null when it is not well-formed or
// longer than the library can take in one call.
inline Documento LeggiMemoria(std::string_view testo, const char* url, const char* encoding,
                              int opzioni) {
  if (testo.size() > static_cast<std::size_t>(INT_MAX)) return nullptr;
  return Documento(
      xmlReadMemory(testo.data(), static_cast<int>(testo.size()), url, encoding, opzioni));
}

}  // namespace qzkiro::util::libxml
