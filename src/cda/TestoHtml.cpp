#include "cda/TestoHtml.h"

#include "util/Testo.h"

namespace qzkiro::cda {

std::string TestoHtml(std::string_view testo) {
  // The apostrophe stays as it is: "&apos;" is not HTML 4.
  return SoloAscii(util::Replace(util::XmlEscape(testo), "&apos;", "'"));
}

}  // namespace qzkiro::cda
