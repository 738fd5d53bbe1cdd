#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qzkiro::cda {

// A file embedded in a PDF: its name as the PDF gives it (UTF-8; taken from
// the document, so never to be used as a path as it is) and its bytes.
struct AllegatoPdf {
  std::string nome;
  std::string contenuto;
};

// The files embedded in a PDF (1.4 to 1.7): those listed in the catalog's
// /Names /EmbeddedFiles tree, then those of file-attachment annotations on
// the pages that the tree did not list. Each name is the file
// descrittoretion's /UF, else /F, else the key of the tree. A file whose data
// cannot be decoded (unknown filter, damaged, beyond 256 MiB) is left out.
// Never throws: a damaged or hostile file yields what could be read of it.
std::vector<AllegatoPdf> AllegatiPdf(std::string_view pdf);

// True when the bytes begin as a PDF file does ("%PDF").
bool EPdf(std::string_view byte);

}  // namespace qzkiro::cda
