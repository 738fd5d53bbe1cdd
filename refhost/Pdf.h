#pragma once

#include <string>

namespace qzkiro::refhost {

// The host's PDF makers, run as programs of their own (Debian packages "fop"
// and "weasyprint").

// Apache FOP with a command line of its options (`-xml "a" -xsl "b" -pdf
// "c"`, `-fo "a" -pdf "c"`). True when it ended well and, when "-pdf" names
// the output, that file exists.
bool EseguiFop(const std::string& argomenti);

// An HTML page (UTF-8) turned into the PDF file `file` by WeasyPrint, through
// a temporary file removed afterwards. True when the program ended well and
// the PDF exists.
bool HtmlInPdf(const std::string& html, const std::string& file);

}  // namespace qzkiro::refhost
