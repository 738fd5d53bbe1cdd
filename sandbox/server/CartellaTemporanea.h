#pragma once

#include <filesystem>
#include <string>

namespace qzkiro::sandbox {

// A temporary folder removed with everything in it when the object goes.
class CartellaTemporanea {
 public:
  CartellaTemporanea();
  ~CartellaTemporanea();
  CartellaTemporanea(const CartellaTemporanea&) = delete;
  CartellaTemporanea& operator=(const CartellaTemporanea&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // Writes `contenuto` to the file `nome` inside the folder (creating folders).
  std::filesystem::path Scrivi(const std::string& nome, const std::string& contenuto) const;

 private:
  std::filesystem::path path_;
};

}  // namespace qzkiro::sandbox
