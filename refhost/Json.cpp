#include "refhost/Json.h"

#include <fstream>

#include "qzkiro/Failure.h"

namespace qzkiro::refhost {

namespace {
constexpr long kErroreFile = 75;  // path/file access error
}

nlohmann::json LeggiJson(const std::filesystem::path& file) {
  std::error_code error;
  if (!std::filesystem::exists(file, error)) return nlohmann::json::object();
  std::ifstream in(file, std::ios::binary);
  if (!in) throw Failure(kErroreFile, "Impossibile leggere il file " + file.string());
  try {
    return nlohmann::json::parse(in);
  } catch (const nlohmann::json::exception& e) {
    throw Failure(kErroreFile, "File " + file.string() + " non valido: " + e.what());
  }
}

void ScriviJson(const std::filesystem::path& file, const nlohmann::json& document) {
  auto temporaneo = file;
  temporaneo += ".tmp";
  {
    std::ofstream out(temporaneo, std::ios::binary | std::ios::trunc);
    out << document.dump(2) << '\n';
    if (!out) throw Failure(kErroreFile, "Impossibile scrivere il file " + file.string());
  }
  std::error_code error;
  std::filesystem::rename(temporaneo, file, error);
  if (error) throw Failure(kErroreFile, "Impossibile scrivere il file " + file.string());
}

std::string Testo(const nlohmann::json& object, const char* key) {
  auto it = object.find(key);
  if (it == object.end() || it->is_null()) return {};
  if (it->is_string()) return it->get<std::string>();
  return it->dump();
}

}  // namespace qzkiro::refhost
