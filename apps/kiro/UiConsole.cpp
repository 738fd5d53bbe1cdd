#include "UiConsole.h"

#include <istream>
#include <ostream>
#include <string>

namespace qzkiro::kiro {

namespace {

std::string Senza(std::string testo, const std::string& cosa) {
  for (auto at = testo.find(cosa); at != std::string::npos; at = testo.find(cosa, at)) {
    testo.erase(at, cosa.size());
  }
  return testo;
}

}  // namespace

int UiConsole::MsgBox(const std::string& testo, int stile, const std::string& titolo) {
  out_ << "┌─ " << titolo << '\n' << "│ " << Senza(testo, "\r") << '\n';
  const int pulsanti = stile & 7;
  int answer = core::RispostaPredefinita(stile);
  if (pulsanti != core::stile::kOK && interattiva_) {
    const bool si_no = pulsanti == core::stile::kSiNo || pulsanti == core::stile::kSiNoAnnulla;
    out_ << "└─ " << (si_no ? "[s]ì / [n]o" : "[o]k / [a]nnulla") << "? " << std::flush;
    std::string line;
    std::getline(in_, line);
    const char scelta = line.empty() ? ' ' : static_cast<char>(line[0] | 0x20);
    if (si_no && scelta == 'n') answer = core::risposta::kNo;
    if (!si_no && scelta == 'a') answer = core::risposta::kAnnulla;
  } else {
    out_ << "└─ (risposta: " << answer << ")\n";
  }
  return answer;
}

}  // namespace qzkiro::kiro
