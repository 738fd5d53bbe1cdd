#pragma once

#include <iosfwd>
#include <string>

namespace qzkiro::kiro {

// Deciphers a log file of the add-on and prints its entries; with a folder
// for `estrai`, writes each attachment back out there (by its base name,
// shortened and never over an existing file). Control characters of the
// records are printed as \xNN, never raw. Returns 0, or 1 when the file
// cannot be read or is damaged, an attachment is not valid Base64 or cannot be
// written, or the folder cannot be made: every record that could be read is
// printed first.
int LeggiLog(const std::string& file, const std::string& estrai, std::ostream& out,
             std::ostream& err);

}  // namespace qzkiro::kiro
