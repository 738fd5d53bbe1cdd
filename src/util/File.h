#pragma once

#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qzkiro::util {

using Bytes = std::vector<std::uint8_t>;

// The whole file as bytes; nullopt when it cannot be read.
std::optional<Bytes> LeggiFile(const std::string& nome);
// Deletes `nome` (ignoring a failure to delete), then creates it with `dati`;
// false on any error. The file is new (a link left in its place is not
// followed) and, like every file the add-on writes, readable and writable by
// its owner only: they hold patients' data and exchanges with the services.
bool ScriviFile(const std::string& nome, const Bytes& dati);
// The same with the text pieces written one after the other (no copy is
// made of them: large documents are written as they are held).
bool ScriviFile(const std::string& nome, std::initializer_list<std::string_view> pezzi);

// Opens `nome` for writing bytes, appending (`accoda`) or emptied; a missing
// file is created readable and writable by its owner only, an existing one is
// narrowed to that. A link in its place is not followed. nullptr on failure;
// the caller closes it with fclose.
std::FILE* ApriFilePrivato(const std::string& nome, bool accoda);

// A new, empty file with a name no other file has in `cartella`:
// `prefisso`, six random characters, `estensione`; readable and writable by
// its owner only. Its path, or nullopt when it cannot be made. For the
// temporary files whose name nothing fixes.
std::optional<std::string> CreaFileUnico(const std::string& cartella, const std::string& prefisso,
                                         const std::string& estensione);

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
