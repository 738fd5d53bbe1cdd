#include "util/clsCSV.h"

#include <cstdint>
#include <filesystem>

#include "util/File.h"
#include "util/Testo.h"

namespace qzkiro::util {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

// True when `text` is well-formed UTF-8: shortest forms only, no surrogates,
// nothing above U+10FFFF.
bool Utf8Valido(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      ++i;
      continue;
    }
    int length = 0;
    unsigned char min = 0x80;
    unsigned char max = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      if (lead == 0xE0) min = 0xA0;
      if (lead == 0xED) max = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      if (lead == 0xF0) min = 0x90;
      if (lead == 0xF4) max = 0x8F;
    } else {
      return false;
    }
    if (text.size() - i < static_cast<std::size_t>(length)) return false;
    // Only the second byte has a narrower range; the others are 80..BF.
    for (int k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if (next < (k == 1 ? min : 0x80) || next > (k == 1 ? max : 0xBF)) return false;
    }
    i += length;
  }
  return true;
}

// The file's bytes as UTF-8 text.
std::string ComeUtf8(const Bytes& dati) {
  std::string_view testo(reinterpret_cast<const char*>(dati.data()), dati.size());
  if (testo.starts_with(kBom)) testo.remove_prefix(kBom.size());
  if (Utf8Valido(testo)) return std::string(testo);
  return Latin1ToUtf8(testo);
}

// The lines of `testo` without their terminators; a final terminator does not
// start another line.
std::vector<std::string_view> Righe(std::string_view testo) {
  std::vector<std::string_view> righe;
  while (!testo.empty()) {
    const auto fine = testo.find('\n');
    auto riga = testo.substr(0, fine);
    if (riga.ends_with('\r')) riga.remove_suffix(1);
    righe.push_back(riga);
    if (fine == std::string_view::npos) break;
    testo.remove_prefix(fine + 1);
  }
  return righe;
}

std::string FormatoErrato(std::size_t riga, std::size_t colonna) {
  return "Formato errato Riga: " + std::to_string(riga) + ", Colonna: " + std::to_string(colonna);
}

}  // namespace

void clsCSV::Init(const std::string& file_name, std::string_view separatore) {
  file_name_ = file_name;
  separatore_ = separatore.empty() ? kSeparatoreDefault : separatore;
  records_.clear();
  letto_ = false;
  last_error_.clear();
}

const std::vector<clsCSV::Record>& clsCSV::Records() {
  if (!letto_) {
    letto_ = true;
    Leggi();
  }
  return records_;
}

void clsCSV::Leggi() {
  if (file_name_.empty()) {
    last_error_ = "Nome del file CSV non indicato";
    return;
  }
  std::error_code error;
  if (!std::filesystem::exists(file_name_, error)) {
    last_error_ = "File non trovato: " + file_name_;
    return;
  }
  const auto dati = LeggiFile(file_name_);
  if (!dati) {
    last_error_ = "Impossibile leggere il file: " + file_name_;
    return;
  }
  const std::string testo = ComeUtf8(*dati);
  const auto righe = Righe(testo);
  const std::string_view sep = separatore_;
  const std::string_view a_capo = RemoveCRLF ? " " : "\r\n";

  for (std::size_t n = 0; n < righe.size(); ++n) {
    if (righe[n].empty()) continue;
    Record record;
    std::string_view riga = righe[n];
    std::size_t pos = 0;
    for (;;) {
      if (pos >= riga.size() || riga[pos] != '"') {
        const auto fine = riga.find(sep, pos);
        if (fine == std::string_view::npos) {
          record.emplace_back(riga.substr(pos));
          break;
        }
        record.emplace_back(riga.substr(pos, fine - pos));
        pos = fine + sep.size();
        continue;
      }
      // A quoted field, possibly continuing on the following lines.
      const std::size_t riga_inizio = n + 1;
      const std::size_t colonna = record.size() + 1;
      std::string campo;
      ++pos;
      for (;;) {
        const auto virgolette = riga.find('"', pos);
        if (virgolette == std::string_view::npos) {
          campo.append(riga.substr(pos));
          if (n + 1 >= righe.size()) {
            last_error_ = FormatoErrato(riga_inizio, colonna);
            return;
          }
          campo.append(a_capo);
          riga = righe[++n];
          pos = 0;
          continue;
        }
        campo.append(riga.substr(pos, virgolette - pos));
        pos = virgolette + 1;
        if (pos < riga.size() && riga[pos] == '"') {
          campo.push_back('"');
          ++pos;
          continue;
        }
        break;
      }
      record.push_back(RemoveCRLF ? Trim(campo) : std::move(campo));
      if (pos == riga.size()) break;
      if (riga.substr(pos).starts_with(sep)) {
        pos += sep.size();
        continue;
      }
      last_error_ = FormatoErrato(riga_inizio, colonna);
      return;
    }
    records_.push_back(std::move(record));
  }
}

std::string clsCSV::ToCSV(const Record& record, std::string_view separatore,
                          std::string_view racchiuso_da) const {
  const std::string_view sep = separatore.empty() ? std::string_view(separatore_) : separatore;
  std::string linea;
  for (std::size_t k = 0; k < record.size(); ++k) {
    if (k > 0) linea.append(sep);
    const std::string& campo = record[k];
    std::string testo;
    testo.reserve(campo.size());
    for (std::size_t i = 0; i < campo.size(); ++i) {
      if (campo[i] == '"') {
        testo.append("\"\"");
      } else if (campo[i] == '\r' && i + 1 < campo.size() && campo[i + 1] == '\n') {
        // CR LF becomes LF: the LF is copied on the next turn.
      } else {
        testo.push_back(campo[i]);
      }
    }
    const bool racchiudi = !racchiuso_da.empty() && !campo.empty();
    if (racchiudi) linea.append(racchiuso_da);
    linea.append(testo);
    if (racchiudi) linea.append(racchiuso_da);
  }
  return linea;
}

}  // namespace qzkiro::util
