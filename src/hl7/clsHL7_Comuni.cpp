#include <fstream>
#include <optional>
#include <vector>

#include "hl7/TestoHL7.h"
#include "hl7/clsHL7.h"
#include "util/File.h"
#include "util/Testo.h"

namespace qzkiro::hl7 {

namespace {

// Columns of "SA_COMUNI.csv" the lookup reads.
constexpr std::size_t kColonnaComune = 3;
constexpr std::size_t kColonnaDal = 6;
constexpr std::size_t kColonnaAl = 7;

std::vector<std::string_view> Colonne(std::string_view riga) {
  std::vector<std::string_view> colonne;
  for (std::size_t inizio = 0;;) {
    const auto fine = riga.find(';', inizio);
    colonne.push_back(riga.substr(inizio, fine == std::string_view::npos ? fine : fine - inizio));
    if (fine == std::string_view::npos) return colonne;
    inizio = fine + 1;
  }
}

// A row is taken when valid at the reference date, or, without one, when it
// is still valid today.
bool Valida(const std::vector<std::string_view>& colonne,
            const std::optional<std::string>& riferimento, const std::string& oggi) {
  const auto al = DataComeAAAAMMGG(colonne[kColonnaAl]);
  if (!riferimento) return al && *al >= oggi;
  const auto dal = DataComeAAAAMMGG(colonne[kColonnaDal]);
  return dal && al && *dal <= *riferimento && *riferimento <= *al;
}

// The file may be written in the platform's 8-bit code page: bytes that are
// not UTF-8 are read as ISO-8859-1 characters.
std::string ComeUtf8(std::string_view testo) {
  std::string out;
  for (char32_t c : util::CodePoints(testo)) util::AppendUtf8(out, c);
  return out;
}

}  // namespace

std::string clsHL7::ComuneDaIstat(const std::string& codice, const std::string& data) const {
  const std::string file = accesso_->FileDelPlugin("\\SA_COMUNI.csv");
  if (codice.empty() || !util::FileEsiste(file)) return {};
  std::optional<std::string> riferimento = DataComeAAAAMMGG(data);
  if (!riferimento && data.size() == 8 && SoloCifre(data)) riferimento = data;
  const std::string oggi = accesso_->Adesso().Formato("yyyymmdd");
  const std::string cercato = Minuscolo(codice) + ";";

  std::ifstream in(file, std::ios::binary);
  std::string riga;
  while (std::getline(in, riga)) {
    if (!riga.empty() && riga.back() == '\r') riga.pop_back();
    if (Minuscolo(riga).find(cercato) == std::string::npos) continue;
    riga += ";;;;;;;;";  // short rows still have every column
    const auto colonne = Colonne(riga);
    if (Valida(colonne, riferimento, oggi)) return ComeUtf8(colonne[kColonnaComune]);
  }
  return {};
}

}  // namespace qzkiro::hl7
