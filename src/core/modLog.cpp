#include "core/modLog.h"

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <memory>

#include "core/Cartelle.h"
#include "core/Contesto.h"
#include "core/CostantiCifrate.h"
#include "util/File.h"
#include "util/Testo.h"
#include "util/clsBase64.h"
#include "util/clsRC4.h"

namespace qzkiro::core::modLog {

namespace {

namespace fs = std::filesystem;
using File = std::unique_ptr<std::FILE, decltype(&std::fclose)>;

const std::string& Chiave(Contesto& c) {
  if (c.log.chiave.empty()) c.log.chiave = DecifraCostante(kChiaveLogCifrata);
  return c.log.chiave;
}

// The local date of a file's last change, "yyyymmdd"; "" when unknown.
std::string DataModifica(const fs::path& file) {
  std::error_code error;
  const auto quando = fs::last_write_time(file, error);
  if (error) return {};
  const auto sistema = std::chrono::file_clock::to_sys(quando);
  const std::time_t t = std::chrono::system_clock::to_time_t(sistema);
  std::tm locale{};
  localtime_r(&t, &locale);
  char testo[9];
  std::strftime(testo, sizeof testo, "%Y%m%d", &locale);
  return testo;
}

// Enciphers `piano` (8-bit text) in place and writes one record.
void Scrivi(std::FILE* file, char tipo, std::string piano, const std::string& chiave) {
  util::Rc4Keystream(util::Utf8ToLatin1(chiave))
      .Applica({reinterpret_cast<std::uint8_t*>(piano.data()), piano.size()});
  char testata[12];
  std::snprintf(testata, sizeof testata, "V2%c%08X", tipo, static_cast<unsigned>(piano.size()));
  std::fwrite(testata, 1, 11, file);
  std::fwrite(piano.data(), 1, piano.size(), file);
  std::fwrite("\r\n", 1, 2, file);
}

void Scrivi(Contesto& c, const std::string& titolo, const std::string& dettaglio, bool errore,
            const std::string& allegato) {
  const std::string& chiave = Chiave(c);
  const util::DataOra adesso = c.orologio->Adesso();
  const fs::path file =
      fs::path(c.settings.log_dir) / ("plgQZCoopApp_" + adesso.Formato("dd") + ".mlg");
  bool nuovo_giorno = false;
  if (c.log.ultima_scrittura) {
    nuovo_giorno = c.log.ultima_scrittura->Formato("yyyymmdd") != adesso.Formato("yyyymmdd");
  } else {
    c.log.run_stamp = adesso.Formato("yyyymmddhhnnss");
    nuovo_giorno = true;
  }
  // The file of the same day of an earlier month is started again.
  const bool sovrascrivi =
      nuovo_giorno && FileEsiste(file.string()) && DataModifica(file) != adesso.Formato("yyyymmdd");
  // Readable by its owner only: the entries are enciphered, but under a key
  // that every copy of the add-on holds.
  File out(util::ApriFilePrivato(file.string(), !sovrascrivi), &std::fclose);
  if (!out) return;
  // Plain text of every record, one byte per character.
  const std::string inizio =
      util::Utf8ToLatin1(c.log.run_stamp + " " + adesso.Formato("yyyy-mm-dd hh\\:nn\\:ss") + ": ");
  if (!titolo.empty()) {
    Scrivi(out.get(), '1', inizio + (errore ? "ERR " : "    ") + util::Utf8ToLatin1(titolo),
           chiave);
  }
  if (!dettaglio.empty()) Scrivi(out.get(), '2', inizio + util::Utf8ToLatin1(dettaglio), chiave);
  if (!allegato.empty() && FileEsiste(allegato)) {
    Scrivi(out.get(), '3', inizio + util::Utf8ToLatin1(allegato), chiave);
    // Base64 is ASCII: it joins the plain text without conversion or copy.
    std::string contenuto = inizio;
    util::clsBase64::AppendFile(contenuto, allegato);
    Scrivi(out.get(), '4', std::move(contenuto), chiave);
  }
  out.reset();
  c.log.ultima_scrittura = adesso;
}

}  // namespace

void Log(Contesto& c, const std::string& titolo, const std::string& dettaglio, bool errore,
         const std::string& allegato) {
  if (c.settings.log_dir.empty()) return;
  try {
    Scrivi(c, titolo, dettaglio, errore, allegato);
  } catch (...) {
    // Logging never makes an operation fail.
  }
}

void Log(const std::string& titolo, const std::string& dettaglio, bool errore,
         const std::string& allegato) {
  Log(Ctx(), titolo, dettaglio, errore, allegato);
}

std::string SoapDumpFileName(const Contesto& c) {
  if (c.settings.log_dir.empty() || !c.settings.debug) return {};
  return (fs::path(c.settings.log_dir) / "plgQZCoopApp_Soap.tmp").string();
}

void ClearSoapDump(const Contesto& c) {
  const std::string file = SoapDumpFileName(c);
  if (file.empty() || !FileEsiste(file)) return;
  std::error_code ignorato;
  fs::resize_file(file, 0, ignorato);
}

std::vector<Record> LeggiRecord(const std::string& bytes, std::string* errore) {
  const std::string chiave = DecifraCostante(kChiaveLogCifrata);
  std::vector<Record> records;
  std::size_t at = 0;
  auto guasto = [&](const std::string& perche) {
    if (errore) *errore = "Record danneggiato alla posizione " + std::to_string(at) + ": " + perche;
    return records;
  };
  while (at < bytes.size()) {
    if (bytes.size() - at < 11 || bytes.compare(at, 2, "V2") != 0) return guasto("intestazione");
    const char tipo = bytes[at + 2];
    std::size_t lunghezza = 0;
    try {
      std::size_t letti = 0;
      lunghezza = std::stoul(bytes.substr(at + 3, 8), &letti, 16);
      if (letti != 8) return guasto("lunghezza");
    } catch (const std::exception&) {
      return guasto("lunghezza");
    }
    const std::size_t inizio = at + 11;
    if (lunghezza > bytes.size() - inizio || bytes.size() - inizio - lunghezza < 2 ||
        bytes.compare(inizio + lunghezza, 2, "\r\n") != 0) {
      return guasto("record troncato");
    }
    std::string testo = bytes.substr(inizio, lunghezza);
    util::Rc4Keystream(util::Utf8ToLatin1(chiave))
        .Applica({reinterpret_cast<std::uint8_t*>(testo.data()), testo.size()});
    records.push_back({tipo, util::Latin1ToUtf8(testo)});
    at = inizio + lunghezza + 2;
  }
  return records;
}

}  // namespace qzkiro::core::modLog
