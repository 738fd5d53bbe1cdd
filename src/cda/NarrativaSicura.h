#pragma once

#include <string>
#include <string_view>

namespace qzkiro::cda {

// A serialised narrative block made safe to show in a browser, before the
// narrative's tags are mapped to HTML.
//
// The text is read as XML is written (libxml2's serialisation of the
// document's "text" element, or any text handed to NarrativeBlockToHtml):
// - elements that run or load something (RegoleHtml.h) are dropped with their
//   content, and so are their stray end tags;
// - attributes that handle events, load something or link to a script are
//   dropped; the others are written back in double quotes;
// - comments and processing instructions are dropped (a browser ends some
//   comments earlier than XML does, "<!-->", and reads "<?" as a comment up
//   to the first ">");
// - a CDATA section becomes its text, escaped;
// - a "<" that does not open a complete tag, and a "&" that does not begin a
//   character reference, are written as "&lt;" and "&amp;";
// - everything else, text and the tags of the narrative, stays byte for byte.
std::string NarrativaSicura(std::string_view xml);

}  // namespace qzkiro::cda
