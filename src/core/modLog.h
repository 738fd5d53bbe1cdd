#pragma once

#include <optional>
#include <string>
#include <vector>

#include "util/DataOra.h"

namespace qzkiro::core {

struct Contesto;

// The add-on's enciphered daily log. Each entry is written to
// "<log folder>/plgQZCoopApp_<dd>.mlg" as up to four records:
//   "V2" kind(1) length(8, upper-case hex) cipher-text CR LF
// kind 1 title, 2 detail, 3 attachment name, 4 attachment content (Base64).
// The cipher text is the record's plain text ("<run stamp> <yyyy-mm-dd
// hh:nn:ss>: <text>", one byte per character) enciphered with RC4 under the
// log key; its length counts bytes, which may include CR or LF. Logging never
// makes an operation fail: every failure inside is ignored.
namespace modLog {

// The state of the log in this process.
struct Stato {
  std::string chiave;
  std::string run_stamp;
  std::optional<util::DataOra> ultima_scrittura;
};

void Log(Contesto& c, const std::string& titolo, const std::string& dettaglio, bool errore,
         const std::string& allegato);
// Shorthand on the process's context.
void Log(const std::string& titolo, const std::string& dettaglio = {}, bool errore = false,
         const std::string& allegato = {});

// "<log folder>/plgQZCoopApp_Soap.tmp" when there is a log folder and
// debugging is on, else "".
std::string SoapDumpFileName(const Contesto& c);
// Empties the SOAP dump file when it exists.
void ClearSoapDump(const Contesto& c);

// One record read back from a log file.
struct Record {
  char tipo = '0';
  std::string testo;  // the deciphered plain text, UTF-8
};
// The records of a log file's bytes, deciphered with the log key; stops at the
// first damaged record and says so in `errore`.
std::vector<Record> LeggiRecord(const std::string& bytes, std::string* errore = nullptr);

}  // namespace modLog
}  // namespace qzkiro::core
