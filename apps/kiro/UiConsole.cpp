#include "UiConsole.h"

#include <cstdlib>
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

int UiConsole::TaskDialog(const core::DialogoAttivita& d) {
  out_ << "┌─ " << d.titolo << '\n' << "│ " << d.istruzione << '\n';
  if (!d.contenuto.empty()) out_ << "│ " << Senza(d.contenuto, "\r") << '\n';
  if (!d.domanda.empty()) out_ << "│ " << d.domanda << '\n';
  for (std::size_t i = 0; i < d.pulsanti.size(); ++i) {
    out_ << "│  " << i + 1 << ") " << Senza(d.pulsanti[i].second, "\r") << '\n';
  }
  if (d.pulsanti.empty()) return core::risposta::kAnnulla;
  std::size_t scelta = 1;
  if (interattiva_) {
    const std::string riga = Chiedi("└─ scelta (0 = chiudi)");
    scelta = riga.empty() ? 1 : static_cast<std::size_t>(std::atoi(riga.c_str()));
    if (scelta == 0 || scelta > d.pulsanti.size()) return core::risposta::kAnnulla;
  } else {
    out_ << "└─ (scelta: "
         << d.pulsanti.front().second.substr(0, d.pulsanti.front().second.find('\n')) << ")\n";
  }
  return d.pulsanti[scelta - 1].first;
}

std::string UiConsole::Chiedi(const std::string& domanda) {
  out_ << domanda << ": " << std::flush;
  std::string riga;
  std::getline(in_, riga);
  return riga;
}

bool UiConsole::Credenziali(frmPasswordAsserzione& form) {
  out_ << "┌─ Credenziali del servizio di identità\n";
  if (!interattiva_) {
    out_ << "└─ (annullato: nessun terminale)\n";
    return false;
  }
  if (std::string utente = Chiedi("Utente [" + form.UserName + "]"); !utente.empty()) {
    form.UserName = utente;
  }
  form.Password = Chiedi("Password");
  for (std::size_t i = 0; i < form.Responsabili.size(); ++i) {
    out_ << "  " << i + 1 << ") " << form.Responsabili[i].NomeCompleto << '\n';
  }
  const std::string scelta = Chiedi("Responsabile (numero)");
  form.IndiceResponsabile = scelta.empty() ? -1 : std::atoi(scelta.c_str()) - 1;
  form.Ricorda = Chiedi("Ricordare le credenziali? [s/n]") == "s";
  return !form.Password.empty() || !form.UserName.empty();
}

bool UiConsole::AccessoACN(frmAccessoACN& form) {
  out_ << "┌─ " << frmAccessoACN::kTitolo << "\n│ " << frmAccessoACN::kIstruzione << '\n';
  if (!interattiva_) {
    out_ << "└─ (annullato: nessun terminale)\n";
    return false;
  }
  if (std::string utente = Chiedi("Utente [" + form.Testo1 + "]"); !utente.empty()) {
    form.Testo1 = utente;
  }
  if (std::string password = Chiedi("Password"); !password.empty()) form.Testo2 = password;
  form.Ricorda = Chiedi(std::string(frmAccessoACN::kRicorda) + "? [s/n]") == "s";
  return true;
}

bool UiConsole::CambioPassword(frmUpdatePasswordAsserzione& form) {
  out_ << "┌─ Aggiorna password di " << form.UserName << '\n';
  if (!interattiva_) {
    out_ << "└─ (annullato: nessun terminale)\n";
    return false;
  }
  form.Password = Chiedi("Password attuale");
  form.NuovaPassword = Chiedi("Nuova password");
  form.Ridigita = Chiedi("Ridigita password");
  return true;
}

}  // namespace qzkiro::kiro
