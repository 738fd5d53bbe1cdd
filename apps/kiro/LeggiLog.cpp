#include "LeggiLog.h"

#include <filesystem>
#include <ostream>

#include "core/modLog.h"
#include "util/File.h"
#include "util/clsBase64.h"

namespace qzkiro::kiro {

namespace fs = std::filesystem;

namespace {

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

// A name inside `cartella` for the attachment `nome` that overwrites nothing.
fs::path Destinazione(const fs::path& cartella, const std::string& nome, int numero) {
  std::string base = fs::path(nome).filename().string();
  if (base.empty() || base == "." || base == "..") base = "allegato";
  fs::path file = cartella / base;
  for (int n = 1; fs::exists(file); ++n) {
    file = cartella / (std::to_string(numero) + "_" + std::to_string(n) + "_" + base);
  }
  return file;
}

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
  if (!estrai.empty()) fs::create_directories(estrai);
  std::string nome_allegato;
  int allegati = 0;
  for (const auto& record : records) {
    const Parti p = Dividi(record.testo);
    switch (record.tipo) {
      case '1':
        out << p.run << ' ' << p.quando << "  " << p.testo << '\n';
        break;
      case '2':
        out << "    " << p.testo << '\n';
        break;
      case '3':
        nome_allegato = p.testo;
        out << "    allegato: " << p.testo << '\n';
        break;
      case '4': {
        auto contenuto = util::clsBase64::DecodeBytes(p.testo);
        out << "    contenuto: " << (contenuto ? contenuto->size() : 0) << " byte\n";
        if (!estrai.empty() && contenuto) {
          const fs::path dove = Destinazione(estrai, nome_allegato, ++allegati);
          if (util::ScriviFile(dove.string(), *contenuto))
            out << "    estratto in " << dove.string() << '\n';
        }
        break;
      }
      default:
        out << "    (record di tipo " << record.tipo << ") " << p.testo << '\n';
    }
  }
  if (!errore.empty()) {
    err << file << ": " << errore << '\n';
    return 1;
  }
  return 0;
}

}  // namespace qzkiro::kiro
