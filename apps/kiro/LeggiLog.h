#pragma once

#include <iosfwd>
#include <string>

namespace qzkiro::kiro {

// Deciphers a log file of the add-on and prints its entries; with a folder
// for `estrai`, writes each attachment back out there (by its base name).
// Returns 0, or 1 when the file cannot be read or is damaged (what could be
// read is printed first).
int LeggiLog(const std::string& file, const std::string& estrai, std::ostream& out,
             std::ostream& err);

}  // namespace qzkiro::kiro
