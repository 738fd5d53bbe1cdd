#include "refhost/ModelloRichiesta.h"

#include <atomic>
#include <fstream>
#include <sstream>

#include "qzkiro/Failure.h"
#include "util/DataOra.h"
#include "util/Testo.h"

namespace qzkiro::refhost {

namespace {

constexpr long kFileNonTrovato = 53;

// The entries the host fills itself when the caller did not add them.
std::map<std::string, std::string> VociDelHost() {
  static std::atomic<unsigned> progressivo{0};
  const std::string adesso = util::AdessoLocale().Formato("yyyymmddhhnnss");
  return {{"Modello.DataOra", adesso},
          {"Modello.IDMessaggio", "KIRO" + adesso + std::to_string(++progressivo % 100000)}};
}

}  // namespace

ModelloRichiesta::ModelloRichiesta(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw Failure(kFileNonTrovato, "Modello non trovato: " + file);
  std::ostringstream buffer;
  buffer << in.rdbuf();
  testo_ = buffer.str();
}

void ModelloRichiesta::Add(const std::string& key, const host::Variant& value) {
  voci_[key] = value.ToText();
}

std::string ModelloRichiesta::Template() {
  auto voci = VociDelHost();
  for (const auto& [chiave, valore] : voci_) voci[chiave] = valore;
  std::string out;
  std::size_t at = 0;
  while (true) {
    auto open = testo_.find("{{", at);
    auto close = open == std::string::npos ? open : testo_.find("}}", open + 2);
    if (close == std::string::npos) break;
    out.append(testo_, at, open - at);
    auto voce = voci.find(testo_.substr(open + 2, close - open - 2));
    if (voce != voci.end()) out += util::XmlEscape(voce->second);
    at = close + 2;
  }
  out.append(testo_, at, std::string::npos);
  return out;
}

}  // namespace qzkiro::refhost
