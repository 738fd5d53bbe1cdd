#include "cda/ValoriCDA.h"

#include <cmath>
#include <filesystem>

#include "util/File.h"

namespace qzkiro::cda {

double Arrotonda4(double valore) {
  const double scalato = std::nearbyint(valore * 10000.0);
  return std::isfinite(scalato) ? scalato / 10000.0 : 0;
}

std::string DataOraCompatta(const std::string& ts) {
  std::string cifre;
  for (char c : ts) {
    if (c < '0' || c > '9' || cifre.size() == 14) break;
    cifre.push_back(c);
  }
  if (cifre.empty()) return {};
  cifre.resize(14, '0');
  return cifre;
}

bool ScriviPagina(const host::AccessoHost& accesso, const std::string& html,
                  const std::string& cartella, const std::string& suffisso, std::string& file) {
  if (html.empty()) return false;
  file = (std::filesystem::path(cartella) / (accesso.TimbroFile() + suffisso)).string();
  return util::ScriviFile(file, util::ComeByte(html));
}

}  // namespace qzkiro::cda
