#include "util/TabellaValidita.h"

#include <algorithm>
#include <cctype>
#include <fstream>

#include "util/DataOra.h"
#include "util/Testo.h"

namespace qzkiro::util {

namespace {

constexpr std::size_t kColonnaDal = 6;
constexpr std::size_t kColonnaAl = 7;

std::vector<std::string> Colonne(std::string_view riga) {
  std::vector<std::string> colonne;
  for (std::size_t inizio = 0;;) {
    const auto fine = riga.find(';', inizio);
    colonne.emplace_back(riga.substr(inizio, fine == std::string_view::npos ? fine : fine - inizio));
    if (fine == std::string_view::npos) return colonne;
    inizio = fine + 1;
  }
}

std::string Minuscolo(std::string_view testo) {
  std::string out(testo);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}

bool Valida(const std::vector<std::string>& colonne, const std::optional<std::string>& riferimento,
            const std::string& oggi) {
  const auto al = DataTabella(colonne[kColonnaAl]);
  if (!riferimento) return al && *al >= oggi;
  const auto dal = DataTabella(colonne[kColonnaDal]);
  return dal && al && *dal <= *riferimento && *riferimento <= *al;
}

std::string ComeUtf8(std::string_view testo) {
  std::string out;
  for (char32_t c : CodePoints(testo)) AppendUtf8(out, c);
  return out;
}

}  // namespace

std::optional<std::string> DataTabella(std::string_view testo) {
  if (testo.size() < 10) return std::nullopt;
  const std::string_view resto = testo.substr(10);
  if (!resto.empty() && resto.front() != ' ' && resto.front() != 'T') return std::nullopt;
  const auto data = DataOra::Leggi(std::string(testo.substr(0, 10)) + " 00:00:00");
  return data ? std::optional(data->Formato("yyyymmdd")) : std::nullopt;
}

std::vector<std::string> RigaValida(const std::string& file, std::string_view chiave,
                                    const std::optional<std::string>& riferimento,
                                    const std::string& oggi) {
  if (chiave.empty()) return {};
  std::ifstream in(file, std::ios::binary);
  const std::string cercato = Minuscolo(chiave) + ";";
  for (std::string riga; std::getline(in, riga);) {
    if (!riga.empty() && riga.back() == '\r') riga.pop_back();
    if (Minuscolo(riga).find(cercato) == std::string::npos) continue;
    auto colonne = Colonne(riga + ";;;;;;;;");
    if (!Valida(colonne, riferimento, oggi)) continue;
    for (auto& c : colonne) c = ComeUtf8(c);
    return colonne;
  }
  return {};
}

}  // namespace qzkiro::util
