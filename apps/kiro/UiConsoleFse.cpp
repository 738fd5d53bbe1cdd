// The regional health record's consent dialogs on the terminal.

#include <cstdlib>
#include <istream>
#include <ostream>
#include <string>

#include "UiConsole.h"

namespace qzkiro::kiro {

namespace {

constexpr const char* kTipi[] = {"Alimentazione FSEr", "Consultazione FSEr",
                                 "Alimentazione con documenti pregressi"};

const char* Scelta(const ModuloConsensoFSE& form, std::size_t tipo) {
  if (form.Opzioni[tipo * 2]) return "rilasciato";
  if (form.Opzioni[tipo * 2 + 1]) return "negato";
  return "-";
}

}  // namespace

void UiConsole::MostraConsenso(const ModuloConsensoFSE& form) {
  out_ << "┌─ " << form.Titolo << '\n' << "│ " << form.Didascalia() << '\n';
  for (std::size_t tipo = 0; tipo < 3; ++tipo) {
    out_ << "│  " << tipo + 1 << ") " << kTipi[tipo] << ": " << Scelta(form, tipo) << '\n';
  }
  out_ << "│ Dati aggiuntivi: cellulare " << form.Cellulare << ", email " << form.Email << '\n';
  for (std::size_t i = 0; i < form.Tutori.size(); ++i) {
    const SchedaTutore& t = form.Tutori[i];
    out_ << "│ " << form.TitoloScheda(i) << ": " << t.Cognome << ' ' << t.Nome << ", "
         << t.CodiceFiscale << ", " << t.Cellulare << ", " << t.Email << '\n';
  }
}

// Commands: 1-3 give the consent of that line, -1..-3 deny it; c/e set the
// contacts; t adds a guardian; ta/tk fill the last guardian (a new one when
// there is none) from the host's archive or its registry search; r shows the
// summary; i the notice; o is OK; x closes.
bool UiConsole::ComandoConsenso(const std::string& comando, ModuloConsensoFSE& form,
                                const AzioniConsensoFSE& azioni, bool& chiuso) {
  const int n = std::atoi(comando.c_str());
  if (n != 0 && std::abs(n) <= 3) {
    const std::size_t tipo = static_cast<std::size_t>(std::abs(n) - 1);
    form.Opzioni[tipo * 2] = n > 0;
    form.Opzioni[tipo * 2 + 1] = n < 0;
  } else if (comando == "c") {
    form.Cellulare = Chiedi("Cellulare");
  } else if (comando == "e") {
    form.Email = Chiedi("Email");
  } else if (comando == "t") {
    SchedaTutore t;
    t.Cognome = Chiedi("Cognome");
    t.Nome = Chiedi("Nome");
    t.CodiceFiscale = Chiedi("Codice fiscale");
    t.Cellulare = Chiedi("Cellulare");
    t.Email = Chiedi("Email");
    form.Tutori.push_back(std::move(t));
  } else if ((comando == "ta" && azioni.cerca_archivio) || (comando == "tk" && azioni.cerca_kiro)) {
    if (form.Tutori.empty()) form.Tutori.emplace_back();
    (comando == "ta" ? azioni.cerca_archivio : azioni.cerca_kiro)(form.Tutori.back());
  } else if (comando == "r" && azioni.riepilogo) {
    azioni.riepilogo();
  } else if (comando == "i" && azioni.informativa) {
    azioni.informativa();
  } else if (comando == "o") {
    chiuso = azioni.conferma && azioni.conferma();
    return chiuso;
  } else if (comando == "x" || !in_) {
    chiuso = true;
    return false;
  }
  return false;
}

bool UiConsole::ConsensoFSE(ModuloConsensoFSE& form, const AzioniConsensoFSE& azioni) {
  MostraConsenso(form);
  if (!interattiva_) {
    out_ << "└─ (chiuso: nessun terminale)\n";
    return false;
  }
  for (bool chiuso = false;;) {
    const std::string comando = Chiedi(
        "└─ 1-3 rilascia, -1..-3 nega, c/e recapiti, t tutore, ta/tk cerca tutore, "
        "r riepilogo, "
        "i informativa, o OK, x chiudi");
    const bool inviato = ComandoConsenso(comando, form, azioni, chiuso);
    if (chiuso) return inviato;
    MostraConsenso(form);
  }
}

void UiConsole::EsitoInvioFSE(const std::vector<std::string>& righe) {
  out_ << "┌─ Esito dell'invio del consenso\n";
  for (const std::string& riga : righe) out_ << "│ " << riga << '\n';
  out_ << "└─\n";
}

void UiConsole::InfoConsensoFSE(const RiepilogoConsensoFSE& r) {
  out_ << "┌─ Consensi FSEr di " << r.paziente;
  if (r.eta >= 0) out_ << " (" << r.eta << " anni)";
  out_ << '\n';
  for (const RigaInfoConsenso& riga : r.righe) {
    const char* icona = riga.icona == IconaConsenso::Rilasciato ? "✔"
                        : riga.icona == IconaConsenso::Revocato ? "✘"
                                                                : "·";
    out_ << "│ " << icona << ' ' << riga.tipo << ": " << riga.stato << '\n';
  }
  out_ << "└─\n";
}

void UiConsole::InfoPortale(frmInfoPortale& form) {
  out_ << "┌─ Portale del cittadino\n"
       << "│ Con il cellulare e l'email indicati il cittadino riceve le credenziali di "
          "accesso al proprio FSEr dal portale regionale.\n";
  if (interattiva_) {
    form.NonMostrarePiu = Chiedi("└─ Non mostrare più questo avviso? [s/n]") == "s";
  } else {
    out_ << "└─\n";
  }
}

}  // namespace qzkiro::kiro
