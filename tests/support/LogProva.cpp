#include "support/LogProva.h"

#include "core/modLog.h"
#include "util/File.h"

namespace qzkiro::testsupport {

std::vector<std::string> TitoliLog(const std::filesystem::path& cartella) {
  std::vector<std::string> titoli;
  for (const auto& f : std::filesystem::directory_iterator(cartella)) {
    const auto bytes = util::LeggiFile(f.path().string());
    for (const auto& r : core::modLog::LeggiRecord(util::ComeTesto(bytes.value_or(util::Bytes{})))) {
      if (r.tipo != '1') continue;
      std::string titolo = r.testo.substr(r.testo.find(": ") + 2);
      titolo.erase(0, titolo.find_first_not_of(' '));
      titoli.push_back(std::move(titolo));
    }
  }
  return titoli;
}

}  // namespace qzkiro::testsupport
