#pragma once

#include <memory>
#include <string>

namespace qzkiro::util {

// Writes an XML document straight to a file, element by element, so that a
// large document never sits in memory as a tree. Texts are escaped by
// libxml2; the document is UTF-8 and indented. Every member throws
// std::runtime_error when the file cannot be written; Chiudi (or the
// destructor) ends the open elements.
class ScrittoreXML {
 public:
  explicit ScrittoreXML(const std::string& file);
  ~ScrittoreXML();
  ScrittoreXML(const ScrittoreXML&) = delete;
  ScrittoreXML& operator=(const ScrittoreXML&) = delete;

  void Apri(const std::string& nome);
  void Chiudi();  // the innermost open element
  // <nome>testo</nome>
  void Elemento(const std::string& nome, const std::string& testo);
  // Ends every open element and the document, and flushes the file.
  void Fine();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace qzkiro::util
