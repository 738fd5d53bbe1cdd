#pragma once

#include <filesystem>
#include <string>

namespace qzkiro::testsupport {

// A public sample file of the shared data folder (beside the repository),
// read in place. Fails the calling test with a plain message when the folder
// is not there.
std::filesystem::path DatoPubblico(const std::string& relativo);

}  // namespace qzkiro::testsupport
