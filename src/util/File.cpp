#include "util/File.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
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

namespace {

constexpr mode_t kSoloProprietario = S_IRUSR | S_IWUSR;

// A new file for writing, never one reached through a link; -1 on failure.
// When the old one could not be deleted first, it is emptied and narrowed
// to its owner instead.
int CreaNuovo(const std::string& nome) {
  constexpr int kScrittura = O_WRONLY | O_CLOEXEC | O_NOFOLLOW;
  const int fd = ::open(nome.c_str(), kScrittura | O_CREAT | O_EXCL, kSoloProprietario);
  if (fd >= 0 || errno != EEXIST) return fd;
  const int esistente = ::open(nome.c_str(), kScrittura | O_TRUNC);
  if (esistente >= 0 && ::fchmod(esistente, kSoloProprietario) != 0) {
    ::close(esistente);
    return -1;
  }
  return esistente;
}

bool ScriviTutto(int fd, std::string_view dati) {
  for (std::size_t scritti = 0; scritti < dati.size();) {
    const ssize_t n = ::write(fd, dati.data() + scritti, dati.size() - scritti);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    scritti += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

bool ScriviFile(const std::string& nome, const Bytes& dati) {
  return ScriviFile(nome, {std::string_view(reinterpret_cast<const char*>(dati.data()), dati.size())});
}

bool ScriviFile(const std::string& nome, std::initializer_list<std::string_view> pezzi) {
  std::remove(nome.c_str());
  const int fd = CreaNuovo(nome);
  if (fd < 0) return false;
  bool scritto = true;
  for (std::string_view pezzo : pezzi) scritto = scritto && ScriviTutto(fd, pezzo);
  return ::close(fd) == 0 && scritto;
}

std::FILE* ApriFilePrivato(const std::string& nome, bool accoda) {
  const int modo = O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW | (accoda ? O_APPEND : O_TRUNC);
  const int fd = ::open(nome.c_str(), modo, kSoloProprietario);
  if (fd < 0) return nullptr;
  // A file made before, or by someone else's rules, is narrowed too; a file
  // of another owner stays as it is.
  static_cast<void>(::fchmod(fd, kSoloProprietario));
  std::FILE* file = ::fdopen(fd, accoda ? "ab" : "wb");
  if (file == nullptr) ::close(fd);
  return file;
}

std::optional<std::string> CreaFileUnico(const std::string& cartella, const std::string& prefisso,
                                         const std::string& estensione) {
  std::string modello =
      (std::filesystem::path(cartella) / (prefisso + "XXXXXX" + estensione)).string();
  // mkstemps makes the file with O_EXCL and mode 0600, trying other names
  // while one is taken.
  const int fd = ::mkstemps(modello.data(), static_cast<int>(estensione.size()));
  if (fd < 0) return std::nullopt;
  ::close(fd);
  return modello;
}

bool FileEsiste(const std::string& nome) {
  std::string trimmed = Trim(nome);
  if (trimmed.empty()) return false;
  std::error_code error;
  static_cast<void>(std::filesystem::file_size(trimmed, error));
  return !error;
}

}  // namespace qzkiro::util
