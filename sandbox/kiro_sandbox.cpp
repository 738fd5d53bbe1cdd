// kiro-sandbox: starts the local stand-ins of the remote services, prints where
// they listen as the add-on's configuration keys, and serves until SIGINT or SIGTERM.

#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "sandbox/Ambiente.h"
#include "sandbox/FhirAssistiti.h"
#include "sandbox/server/ServerPosta.h"

namespace {

constexpr const char* kUso =
    "Uso: kiro-sandbox [--pki CARTELLA] [--once] [--posta] [--simulatore CARTELLA]\n"
    "                   [--registra CARTELLA]\n"
    "  --pki CARTELLA         dove creare (se mancano) e leggere i certificati di prova\n"
    "                         (predefinita: <temp>/kiro-sandbox/pki)\n"
    "  --once                 avvia, stampa gli indirizzi ed esce\n"
    "  --posta                avvia anche un server SMTP (aiosmtpd) e POP3 (dovecot) di\n"
    "                         prova: il relay dei prelievi vi consegna la posta, che\n"
    "                         si legge in POP3 con l'utente e la password stampati\n"
    "  --simulatore CARTELLA  scrive nella cartella le risposte del simulatore dei\n"
    "                         servizi regionali HL7 (SAIN, SAIA, SARR, ...) e del\n"
    "                         fascicolo sanitario (registro, repository, MPI) e dei\n"
    "                         flussi FHIR (ACN, indicatori PA) ed esce\n"
    "  --registra CARTELLA    scrive nella cartella ogni richiesta ricevuta (un file per\n"
    "                         corpo) e indice.json con rotta, SOAPAction, stato HTTP ed\n"
    "                         esito della validazione di ciascuno scambio\n";

// Writes the regional services' answers as the add-on's simulator files.
int ScriviSimulatore(const std::filesystem::path& cartella, const std::filesystem::path& pki) {
  auto file = qzkiro::sandbox::RegioneHl7::FileSimulatore();
  for (auto& voce : qzkiro::sandbox::ServiziFse::FileSimulatore(qzkiro::sandbox::Pki::Crea(pki))) {
    file.push_back(std::move(voce));
  }
  for (auto& voce : qzkiro::sandbox::ServiziFhir::FileSimulatore()) file.push_back(std::move(voce));
  namespace sb = qzkiro::sandbox;
  for (auto* altri : {&sb::ServiziFlussiAsl::FileSimulatore, &sb::ServiziPianiTerapeutici::FileSimulatore,
                      &sb::ServizioIvaq::FileSimulatore, &sb::ServizioLottiVaccino::FileSimulatore}) {
    for (auto& voce : altri()) file.push_back(std::move(voce));
  }
  file.push_back(sb::fhir::FileSimulatoreAssistiti());
  for (const auto& [percorso, contenuto] : file) {
    const std::filesystem::path file = cartella / percorso;
    std::error_code errore;
    std::filesystem::create_directories(file.parent_path(), errore);
    std::ofstream out(file, std::ios::binary);
    if (!(out << contenuto) || !out.flush()) {
      std::cerr << "kiro-sandbox: impossibile scrivere " << file << "\n";
      return 1;
    }
    std::cout << file.string() << "\n";
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::filesystem::path pki = std::filesystem::temp_directory_path() / "kiro-sandbox" / "pki";
  bool una_volta = false;
  bool posta = false;
  std::optional<std::filesystem::path> simulatore, registra;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--pki" && i + 1 < argc) {
      pki = argv[++i];
    } else if (arg == "--simulatore" && i + 1 < argc) {
      simulatore = argv[++i];
    } else if (arg == "--registra" && i + 1 < argc) {
      registra = argv[++i];
    } else if (arg == "--posta") {
      posta = true;
    } else if (arg == "--once") {
      una_volta = true;
    } else if (arg == "--help" || arg == "-h") {
      std::cout << kUso;
      return 0;
    } else {
      std::cerr << "Argomento non valido: " << arg << "\n" << kUso;
      return 2;
    }
  }
  if (simulatore) return ScriviSimulatore(*simulatore, pki);

  // Signals are blocked before the server threads start, so they inherit the
  // mask and only sigwait below receives them.
  sigset_t segnali;
  sigemptyset(&segnali);
  sigaddset(&segnali, SIGINT);
  sigaddset(&segnali, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &segnali, nullptr);

  try {
    qzkiro::sandbox::Ambiente ambiente(pki);
    if (registra) ambiente.Server().RegistraScambi(*registra);
    std::unique_ptr<qzkiro::sandbox::ServerPosta> server_posta;
    if (posta) {
      using qzkiro::sandbox::ServerPosta;
      server_posta = std::make_unique<ServerPosta>();
      ambiente.Relay().ImpostaSmtp(server_posta->IndirizzoSmtp());
      std::cout << "posta/smtp = " << server_posta->IndirizzoSmtp() << "\nposta/pop3 = "
                << server_posta->IndirizzoPop3() << "\nposta/utente = " << ServerPosta::kUtente
                << "\nposta/password = " << ServerPosta::kPassword << "\n";
    }
    for (const auto& [chiave, valore] : ambiente.Chiavi()) {
      std::cout << chiave << " = " << valore << "\n";
    }
    std::cout.flush();
    if (una_volta) return 0;
    std::cerr << "Sandbox in ascolto; Ctrl+C per fermarla.\n";
    int segnale = 0;
    sigwait(&segnali, &segnale);
    std::cerr << "Sandbox fermata (" << strsignal(segnale) << ").\n";
  } catch (const std::exception& e) {
    std::cerr << "kiro-sandbox: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
