#include "core/modSimulator.h"

#include <strings.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <vector>

#include "core/Cartelle.h"
#include "core/Contesto.h"
#include "util/File.h"

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

std::string ReadFile(const std::string& path) {
  return util::ComeTesto(util::LeggiFile(path).value_or(util::Bytes{}));
}

namespace {

namespace fs = std::filesystem;

std::string FileServizio(const std::string& servizio) {
  return PercorsoPlugin("Simulatore/" + servizio + "/" + servizio + ".xml");
}

// The first ".xml" file of `cartella` in name order, "" when there is none.
std::string PrimoXml(const fs::path& cartella) {
  std::vector<fs::path> file;
  std::error_code error;
  for (const auto& voce : fs::directory_iterator(cartella, error)) {
    std::string estensione = voce.path().extension().string();
    for (auto& ch : estensione)
      ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    if (voce.is_regular_file(error) && estensione == ".xml") file.push_back(voce.path());
  }
  if (file.empty()) return {};
  return std::min_element(file.begin(), file.end())->string();
}

std::string FileSAIN(Contesto& c) {
  ++c.contatore_sain;
  const fs::path cartella = PercorsoPlugin("Simulatore/SAIN/" + std::to_string(c.contatore_sain));
  std::error_code error;
  if (fs::is_directory(cartella, error)) return PrimoXml(cartella);
  return FileServizio("SAIN");
}

std::string FileSAIA(const std::string& richiesta) {
  const auto at = richiesta.find("<QRF.5>");
  if (at == std::string::npos) return {};
  std::string codice = richiesta.substr(at + 7, 16);
  codice = codice.substr(0, codice.find('<'));
  std::string file;
  if (codice.size() == 16) file = PercorsoPlugin("Simulatore/SAIA/" + codice + ".xml");
  if (codice == "20000101") file = PercorsoPlugin("Simulatore/SAIA_ALL/SAIA_ALL.xml");
  if (file.empty() || !FileEsiste(file)) file = PercorsoPlugin("Simulatore/SAIA/SAIA.xml");
  return file;
}

}  // namespace

std::string RispostaSimulata(Contesto& c, bool& fatto, long& stato, bool,
                             const std::string& servizio, const std::string&,
                             const std::string& richiesta, const std::string&) {
  std::string file;
  if (servizio == "SAIN") {
    file = FileSAIN(c);
  } else if (servizio == "SAIA") {
    file = FileSAIA(richiesta);
  } else if (servizio == "InvioFlussoACN" || servizio == "QueryConsenso") {
    file = PercorsoPlugin("Simulatore/" + servizio + "/" + c.file_simulatore);
  } else {
    file = FileServizio(servizio);
  }
  const std::string risposta = !file.empty() && FileEsiste(file) ? ReadFile(file) : std::string();
  fatto = true;
  stato = risposta.empty() ? 500 : 0;
  return risposta;
}

}  // namespace qzkiro::core::modSimulator
