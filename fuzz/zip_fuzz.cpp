// Opens any bytes as an in-memory zip archive and extracts it into a private
// folder; nothing may be written outside that folder.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "util/clsZip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  namespace fs = std::filesystem;
  static const fs::path base = "/tmp/qzkiro-fuzz-zip-" + std::to_string(getpid());
  const fs::path dentro = base / "dentro";
  fs::remove_all(base);
  fs::create_directories(dentro);
  const qzkiro::util::Bytes archivio(data, data + size);
  qzkiro::util::clsZip zip;
  zip.UnzipString(archivio);
  zip.SetPassword("segreta");
  zip.UnzipStringFile(archivio, dentro.string());
  for (const auto& voce : fs::directory_iterator(base)) {
    if (voce.path() != dentro) std::abort();  // an entry escaped the target folder
  }
  return 0;
}
