#include "util/File.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "util/Testo.h"

namespace qzkiro::util {

std::optional<Bytes> LeggiFile(const std::string& nome) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(nome, error)) return std::nullopt;
  std::ifstream in(nome, std::ios::binary);
  if (!in) return std::nullopt;
  Bytes dati;
  in.seekg(0, std::ios::end);
  const auto size = in.tellg();
  if (size < 0) return std::nullopt;
  dati.resize(static_cast<std::size_t>(size));
  in.seekg(0, std::ios::beg);
  if (!dati.empty() && !in.read(reinterpret_cast<char*>(dati.data()), size)) return std::nullopt;
  return dati;
}

bool ScriviFile(const std::string& nome, const Bytes& dati) {
  std::remove(nome.c_str());
  std::ofstream out(nome, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(reinterpret_cast<const char*>(dati.data()), static_cast<std::streamsize>(dati.size()));
  out.close();
  return static_cast<bool>(out);
}

bool FileEsiste(const std::string& nome) {
  std::string trimmed = Trim(nome);
  if (trimmed.empty()) return false;
  std::error_code error;
  static_cast<void>(std::filesystem::file_size(trimmed, error));
  return !error;
}

}  // namespace qzkiro::util
