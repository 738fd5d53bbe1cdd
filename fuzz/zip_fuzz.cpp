// Opens any bytes as an in-memory zip archive and extracts it into a folder
// four levels below a private base; nothing may be written anywhere else in
// the base's tree (a "../" that climbs less than four levels lands there, one
// that climbs more is refused by the same name check).

#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "util/clsZip.h"

namespace {

namespace fs = std::filesystem;

// True when `percorso` is the destination, inside it, or one of the folders
// that lead to it from the base.
bool Ammesso(const fs::path& percorso, const fs::path& dentro) {
  const auto [fine_p, fine_d] =
      std::mismatch(percorso.begin(), percorso.end(), dentro.begin(), dentro.end());
  return fine_p == percorso.end() || fine_d == dentro.end();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const fs::path base = "/tmp/qzkiro-fuzz-zip-" + std::to_string(getpid());
  const fs::path dentro = base / "a" / "b" / "c" / "dentro";
  fs::remove_all(base);
  fs::create_directories(dentro);
  const qzkiro::util::Bytes archivio(data, data + size);
  qzkiro::util::clsZip zip;
  zip.UnzipString(archivio);
  zip.SetPassword("segreta");
  zip.UnzipStringFile(archivio, dentro.string());
  for (const auto& voce : fs::recursive_directory_iterator(base)) {
    if (!Ammesso(voce.path(), dentro)) std::abort();  // an entry escaped the target folder
  }
  return 0;
}
