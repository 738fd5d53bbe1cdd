#include "sandbox/server/CartellaTemporanea.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace qzkiro::sandbox {

CartellaTemporanea::CartellaTemporanea() {
  std::string modello = (std::filesystem::temp_directory_path() / "qzkiro-XXXXXX").string();
  if (!mkdtemp(modello.data())) throw std::runtime_error("mkdtemp non riuscito");
  path_ = modello;
}

CartellaTemporanea::~CartellaTemporanea() {
  std::error_code ignorato;
  std::filesystem::remove_all(path_, ignorato);
}

std::filesystem::path CartellaTemporanea::Scrivi(const std::string& nome,
                                                 const std::string& contenuto) const {
  auto file = path_ / nome;
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << contenuto;
  return file;
}

}  // namespace qzkiro::sandbox
