#pragma once

#include <string>
#include <string_view>

namespace qzkiro::cda::pdf {

// A PDF text string (a file name, a title) as UTF-8: UTF-16BE after the
// byte-order mark FE FF, UTF-8 after EF BB BF, else PDFDocEncoding.
std::string TestoPdf(std::string_view byte);

}  // namespace qzkiro::cda::pdf
