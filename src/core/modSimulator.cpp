#include "core/modSimulator.h"

#include <strings.h>

#include <fstream>

#include "core/Cartelle.h"

namespace qzkiro::core::modSimulator {

namespace {

constexpr std::size_t kLunghezzaMassima = 254;  // a 255-character buffer with its terminator

std::string Pulisci(std::string text) {
  auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

bool Uguali(const std::string& a, const std::string& b) {
  return strcasecmp(a.c_str(), b.c_str()) == 0;
}

}  // namespace

std::string ReadIni(const std::string& section, const std::string& key) {
  std::ifstream file(PercorsoPlugin("\\Simulatore\\Simulatore.ini"));
  std::string line;
  bool in_section = false;
  while (std::getline(file, line)) {
    line = Pulisci(line);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      auto close = line.find(']');
      in_section =
          close != std::string::npos && Uguali(Pulisci(line.substr(1, close - 1)), section);
      continue;
    }
    auto equals = line.find('=');
    if (!in_section || equals == std::string::npos) continue;
    if (!Uguali(Pulisci(line.substr(0, equals)), key)) continue;
    std::string value = Pulisci(line.substr(equals + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
      value = value.substr(1, value.size() - 2);
    }
    return value.substr(0, kLunghezzaMassima);
  }
  return {};
}

bool LeggiAttivo() {
  return ReadIni("Simulatore", "Attivo") == "1";
}

}  // namespace qzkiro::core::modSimulator
