#include "LeggiLog.h"

#include <cstdio>
#include <filesystem>
#include <ostream>
#include <system_error>

#include "core/modLog.h"
#include "util/File.h"
#include "util/clsBase64.h"

namespace qzkiro::kiro {

namespace fs = std::filesystem;

namespace {

// Longest attachment file name written, in bytes: well under every file
// system's limit, with room for the numbering prefix.
constexpr std::size_t kNomeMassimo = 120;

// Record text: "<run stamp> <yyyy-mm-dd hh:nn:ss>: <text>".
struct Parti {
  std::string run, quando, testo;
};

Parti Dividi(const std::string& testo) {
  if (testo.size() < 36 || testo.compare(14, 1, " ") != 0 || testo.compare(34, 2, ": ") != 0) {
    return {"", "", testo};
  }
  return {testo.substr(0, 14), testo.substr(15, 19), testo.substr(36)};
}

// The text with line breaks kept (indented under the record) and every other
// control character shown as \xNN: a log may carry what a server sent.
std::string Stampabile(const std::string& testo) {
  std::string uscita;
  for (const char c : testo) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '\n') {
      uscita += "\n      ";
    } else if (c == '\t' || (u >= 0x20 && u != 0x7F)) {
      uscita += c;
    } else if (c != '\r') {
      char esc[5];
      std::snprintf(esc, sizeof esc, "\\x%02X", u);
      uscita += esc;
    }
  }
  return uscita;
}

// A file name for the attachment `nome`: its last component, without control
// characters, at most kNomeMassimo bytes with the extension kept.
std::string NomeAllegato(const std::string& nome) {
  std::string base;
  for (const char c : fs::path(nome).filename().string()) {
    if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F && c != '\\') base += c;
  }
  if (base.empty() || base == "." || base == "..") return "allegato";
  if (base.size() <= kNomeMassimo) return base;
  std::string estensione = fs::path(base).extension().string();
  if (estensione.size() > 16) estensione.clear();
  return base.substr(0, kNomeMassimo - estensione.size()) + estensione;
}

// A name inside `cartella` for the attachment that overwrites nothing.
fs::path Destinazione(const fs::path& cartella, const std::string& nome, int numero) {
  const std::string base = NomeAllegato(nome);
  fs::path file = cartella / base;
  std::error_code ec;
  for (int n = 1; fs::exists(file, ec) || ec; ++n) {
    file = cartella / (std::to_string(numero) + "_" + std::to_string(n) + "_" + base);
    ec.clear();
    if (n > 1000) break;
  }
  return file;
}

// The folder for the attachments, made when missing; "" with a message in
// `err` when it cannot be (a file in its place, no permission).
std::string PreparaCartella(const std::string& estrai, std::ostream& err) {
  if (estrai.empty()) return "";
  std::error_code ec;
  fs::create_directories(estrai, ec);
  if (!ec && fs::is_directory(estrai, ec)) return estrai;
  err << "Impossibile creare la cartella " << estrai << " per gli allegati: "
      << (ec ? ec.message() : "esiste un file con lo stesso nome") << '\n';
  return "";
}

class Lettura {
 public:
  Lettura(std::string cartella, std::ostream& out, std::ostream& err)
      : cartella_(std::move(cartella)), out_(out), err_(err) {}

  void Stampa(const core::modLog::Record& record) {
    const Parti p = Dividi(record.testo);
    switch (record.tipo) {
      case '1':
        out_ << p.run << ' ' << p.quando << "  " << Stampabile(p.testo) << '\n';
        break;
      case '2':
        out_ << "    " << Stampabile(p.testo) << '\n';
        break;
      case '3':
        nome_allegato_ = p.testo;
        out_ << "    allegato: " << Stampabile(p.testo) << '\n';
        break;
      case '4':
        Contenuto(p.testo);
        break;
      default:
        out_ << "    (record di tipo " << Stampabile(std::string(1, record.tipo)) << ") "
             << Stampabile(p.testo) << '\n';
    }
  }

  bool Riuscita() const { return riuscita_; }

 private:
  void Contenuto(const std::string& base64) {
    const auto contenuto = util::clsBase64::DecodeBytes(base64);
    if (!contenuto) {
      out_ << "    contenuto: Base64 non valido (" << base64.size() << " caratteri)\n";
      riuscita_ = false;
      return;
    }
    out_ << "    contenuto: " << contenuto->size() << " byte\n";
    if (cartella_.empty()) return;
    const fs::path dove = Destinazione(cartella_, nome_allegato_, ++allegati_);
    if (util::ScriviFile(dove.string(), *contenuto)) {
      out_ << "    estratto in " << dove.string() << '\n';
    } else {
      err_ << "Impossibile scrivere l'allegato in " << dove.string() << '\n';
      riuscita_ = false;
    }
  }

  std::string cartella_;
  std::ostream& out_;
  std::ostream& err_;
  std::string nome_allegato_;
  int allegati_ = 0;
  bool riuscita_ = true;
};

}  // namespace

int LeggiLog(const std::string& file, const std::string& estrai, std::ostream& out,
             std::ostream& err) {
  auto bytes = util::LeggiFile(file);
  if (!bytes) {
    err << "Impossibile leggere il file di log " << file << '\n';
    return 1;
  }
  std::string errore;
  const auto records = core::modLog::LeggiRecord(util::ComeTesto(*bytes), &errore);
  const std::string cartella = PreparaCartella(estrai, err);
  Lettura lettura(cartella, out, err);
  for (const auto& record : records) lettura.Stampa(record);
  if (!errore.empty()) err << file << ": " << errore << '\n';
  const bool cartella_mancante = !estrai.empty() && cartella.empty();
  return lettura.Riuscita() && errore.empty() && !cartella_mancante ? 0 : 1;
}

}  // namespace qzkiro::kiro
