#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "qzkiro/host/Giornale.h"

namespace qzkiro::refhost {

// The workstation's journal: one line per entry appended to a text file,
// "yyyy-mm-dd hh:nn:ss<TAB><user's fiscal code><TAB><text>", the text on one
// line (line ends become blanks).
class Giornale : public host::IGiornale {
 public:
  Giornale(std::filesystem::path file, std::string utente)
      : file_(std::move(file)), utente_(std::move(utente)) {}
  void ScriviGiornaleMacchina(const std::string& testo) override;
  // The texts of the entries in the file, oldest first.
  std::vector<std::string> Voci() const;
  const std::filesystem::path& File() const { return file_; }

 private:
  std::filesystem::path file_;
  std::string utente_;
};

}  // namespace qzkiro::refhost
