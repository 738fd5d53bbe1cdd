#include "sandbox/server/ServerSftp.h"

#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <vector>

#include "sandbox/server/Porte.h"
#include "sandbox/server/Processo.h"

namespace qzkiro::sandbox {

namespace fs = std::filesystem;

namespace {

// Runs a program to its end; its exit status (-1 when it did not exit).
int Esegui(const std::vector<std::string>& args, const fs::path& log = {}) {
  const pid_t pid = AvviaProcesso({args, log, -1, Account{}, SIGTERM, false, true});
  const int stato = AttendiFine(pid);
  return WIFEXITED(stato) ? WEXITSTATUS(stato) : -1;
}

void NuovaChiave(const fs::path& file) {
  if (Esegui({"/usr/bin/ssh-keygen", "-q", "-t", "ed25519", "-N", "", "-C", "qzkiro", "-f",
              file.string()}) != 0) {
    throw std::runtime_error("ssh-keygen non ha creato la chiave " + file.string());
  }
}

// The chroot: every folder of its path owned by root and writable by root
// only, which rules out the temporary folder (writable by all).
fs::path NuovaRadice() {
  std::string modello = "/run/qzkiro-sftp-XXXXXX";
  if (!mkdtemp(modello.data())) throw std::runtime_error("impossibile creare la radice SFTP");
  fs::permissions(modello, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                               fs::perms::others_read | fs::perms::others_exec);
  return modello;
}

}  // namespace

std::string ImprontaChiave(const fs::path& chiave_pubblica) {
  const std::string comando =
      "/usr/bin/ssh-keygen -l -E sha256 -f '" + chiave_pubblica.string() + "'";
  FILE* uscita = popen(comando.c_str(), "r");
  if (!uscita) throw std::runtime_error("ssh-keygen -l non avviato");
  char riga[512] = {};
  const bool letta = fgets(riga, sizeof riga, uscita) != nullptr;
  pclose(uscita);
  // "256 SHA256:<base64> qzkiro (ED25519)"
  const std::string testo = letta ? riga : "";
  const auto inizio = testo.find("SHA256:");
  if (inizio == std::string::npos) throw std::runtime_error("impronta non letta: " + testo);
  const auto fine = testo.find(' ', inizio);
  return testo.substr(inizio + 7, fine - inizio - 7);
}

AccountSftp::AccountSftp(std::string nome, const std::string& password) : nome_(std::move(nome)) {
  if (geteuid() != 0) throw std::runtime_error("l'account SFTP di prova richiede root");
  if (getpwnam(nome_.c_str()) == nullptr) {
    if (Esegui({"/usr/sbin/useradd", "-M", "-d", "/", "-s", "/usr/sbin/nologin", nome_}) != 0) {
      throw std::runtime_error("useradd non ha creato l'utente " + nome_);
    }
    creato_ = true;
  }
  const passwd* pw = getpwnam(nome_.c_str());
  if (pw == nullptr) throw std::runtime_error("utente " + nome_ + " assente");
  uid_ = pw->pw_uid;
  gid_ = pw->pw_gid;
  CambiaPassword(password);
}

AccountSftp::~AccountSftp() {
  if (creato_) Esegui({"/usr/sbin/userdel", nome_});
}

void AccountSftp::CambiaPassword(const std::string& password) const {
  FILE* chpasswd = popen("/usr/sbin/chpasswd", "w");
  if (!chpasswd) throw std::runtime_error("chpasswd non avviato");
  const std::string riga = nome_ + ":" + password + "\n";
  fwrite(riga.data(), 1, riga.size(), chpasswd);
  if (pclose(chpasswd) != 0) throw std::runtime_error("chpasswd non ha cambiato la password");
}

ServerSftp::ServerSftp(const AccountSftp& account, long limite_file) : radice_(NuovaRadice()) {
  try {
    Avvia(account, limite_file);
  } catch (...) {
    std::error_code ignorato;
    fs::remove_all(radice_, ignorato);
    throw;
  }
}

void ServerSftp::Avvia(const AccountSftp& account, long limite_file) {
  fs::create_directories("/run/sshd");  // sshd's own privilege-separation folder
  fs::create_directory(Upload());
  if (chown(Upload().c_str(), account.Uid(), account.Gid()) != 0) {
    throw std::runtime_error("chown della cartella upload non riuscito");
  }
  const fs::path chiave = cartella_.Path() / "host_ed25519";
  NuovaChiave(chiave);
  impronta_ = ImprontaChiave(chiave.string() + ".pub");
  const fs::path log = cartella_.Path() / "sshd.log";
  for (int tentativo = 0; tentativo < 5; ++tentativo) {
    porta_ = PortaLibera();
    const fs::path config = cartella_.Scrivi(
        "sshd_config", "Port " + std::to_string(porta_) + "\nListenAddress 127.0.0.1\nHostKey " +
                           chiave.string() + "\nPidFile " +
                           (cartella_.Path() / "sshd.pid").string() +
                           "\nStrictModes no\nUsePAM no\nPasswordAuthentication yes\n"
                           "KbdInteractiveAuthentication no\nPubkeyAuthentication no\n"
                           "AuthorizedKeysFile none\nPermitRootLogin no\nAllowUsers " +
                           account.Nome() +
                           "\nSubsystem sftp internal-sftp\nForceCommand internal-sftp\n"
                           "ChrootDirectory " +
                           radice_.string() + "\nLogLevel VERBOSE\n");
    std::vector<std::string> args = {"/usr/sbin/sshd", "-D", "-e", "-f", config.string()};
    if (limite_file > 0) {
      // SIGXFSZ ignored (inherited through exec): a write past the limit fails
      // with EFBIG, which the server reports, instead of killing the session.
      args = {"/bin/sh", "-c",
              "trap '' XFSZ; exec /usr/bin/prlimit --fsize=" + std::to_string(limite_file) +
                  " -- /usr/sbin/sshd -D -e -f '" + config.string() + "'"};
    }
    pid_ = AvviaProcesso({args, log, -1, Account{}, SIGTERM, true, true});
    for (int attesa = 0; attesa < 300 && Vivo(pid_); ++attesa) {
      if (Risponde(porta_)) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    Ferma(pid_, SIGTERM, true);
  }
  throw ErroreConLog("il server SFTP di prova (sshd) non si è avviato", log);
}

ServerSftp::~ServerSftp() {
  Ferma(pid_, SIGTERM, true);
  std::error_code ignorato;
  fs::remove_all(radice_, ignorato);
}

std::string ServerSftp::ImprontaEstranea() const {
  const fs::path altra = cartella_.Path() / "altra_ed25519";
  if (!fs::exists(altra)) NuovaChiave(altra);
  return ImprontaChiave(altra.string() + ".pub");
}

std::string ServerSftp::Log() const {
  std::ifstream in(cartella_.Path() / "sshd.log");
  std::stringstream testo;
  testo << in.rdbuf();
  return testo.str();
}

}  // namespace qzkiro::sandbox
