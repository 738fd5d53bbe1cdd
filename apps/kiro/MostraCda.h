#pragma once

#include <iosfwd>
#include <string>

namespace qzkiro::kiro {

// Reads a CDA document (R2, or the older regional layout) without a host and
// prints its header and its laboratory results as JSON: code, description,
// result, unit, reference range, abnormal flag, specimen time. Returns 0, or
// 1 with an Italian message on `err` when the file is missing, unreadable or
// not a CDA document.
int MostraCda(const std::string& file, std::ostream& out, std::ostream& err);

// Prints the document as the HTML page the readers render (Text). Returns as
// MostraCda.
int HtmlCda(const std::string& file, std::ostream& out, std::ostream& err);

}  // namespace qzkiro::kiro
