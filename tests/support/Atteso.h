#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace qzkiro::testsupport {

// An expected document kept in tests/data/attesi/: written one element per
// line to be read and compared by eye, without line breaks of its own, so
// the breaks are dropped and what is left is the exact expected text.
inline std::string Atteso(const std::string& nome) {
  std::ifstream in(std::filesystem::path(QZKIRO_DATA_DIR).parent_path() / "tests" / "data" /
                       "attesi" / nome,
                   std::ios::binary);
  std::string testo(std::istreambuf_iterator<char>(in), {});
  std::erase(testo, '\n');
  return testo;
}

}  // namespace qzkiro::testsupport
