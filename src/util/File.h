#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qzkiro::util {

using Bytes = std::vector<std::uint8_t>;

// The whole file as bytes; nullopt when it cannot be read.
std::optional<Bytes> LeggiFile(const std::string& nome);
// Deletes `nome` (ignoring a failure to delete), then creates it with `dati`;
// false on any error.
bool ScriviFile(const std::string& nome, const Bytes& dati);

// A file exists when its trimmed name is not empty and asking its length
// raises no error (so a folder does not count).
bool FileEsiste(const std::string& nome);

// Bytes and text, one byte per character, no conversion.
inline std::string ComeTesto(const Bytes& b) {
  return std::string(b.begin(), b.end());
}
inline Bytes ComeByte(const std::string& s) {
  return Bytes(s.begin(), s.end());
}

}  // namespace qzkiro::util
