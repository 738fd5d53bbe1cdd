#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace qzkiro::testsupport {

// The titles of the entries of every log file in `cartella`, in order,
// without their run stamp, time and leading blanks ("ERR " stays).
std::vector<std::string> TitoliLog(const std::filesystem::path& cartella);

}  // namespace qzkiro::testsupport
