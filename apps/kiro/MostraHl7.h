#pragma once

#include <iosfwd>
#include <string>

namespace qzkiro::kiro {

// Reads an HL7 v2.5 XML file (one message or a batch) and prints as JSON an
// array with one object per message: the non-empty properties of clsHL7 by
// name. A message is each top-level group that holds a PID segment, read from
// the PID's parent; the whole document when its root holds the PID itself or
// no group holds one. The layout follows the version in MSH.12. Values the
// host resolves are shown only when the process has a host application.
// Returns 0, or 1 with the reason on `err` when the file is missing,
// unreadable or not XML.
int MostraHl7(const std::string& file, std::ostream& out, std::ostream& err);

}  // namespace qzkiro::kiro
