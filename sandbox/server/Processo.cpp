#include "sandbox/server/Processo.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

namespace qzkiro::sandbox {

namespace fs = std::filesystem;

Account AccountDiServizio(const char* nome) {
  if (geteuid() != 0) return {geteuid(), getegid(), false};
  const passwd* pw = getpwnam(nome);
  if (pw == nullptr) {
    throw std::runtime_error(std::string("si esegue come root, ma l'utente di sistema '") + nome +
                             "' non esiste");
  }
  return {pw->pw_uid, pw->pw_gid, true};
}

pid_t AvviaProcesso(const Avvio& avvio) {
  std::vector<char*> argv;
  for (const auto& arg : avvio.args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  char percorso[] = "PATH=/usr/sbin:/usr/bin:/sbin:/bin";
  char lingua[] = "LANG=C.UTF-8";
  char* ambiente_pulito[] = {percorso, lingua, nullptr};
  int fd_log = -1;
  if (!avvio.log.empty()) {
    fd_log = open(avvio.log.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd_log < 0) throw std::runtime_error("impossibile aprire " + avvio.log.string());
  }
  const pid_t genitore = getpid();
  const pid_t pid = fork();
  if (pid < 0) {
    if (fd_log >= 0) close(fd_log);
    throw std::runtime_error(std::string("fork non riuscita: ") + std::strerror(errno));
  }
  if (pid > 0) {
    if (fd_log >= 0) close(fd_log);
    return pid;
  }
  // Child: only async-signal-safe calls from here on.
  if (avvio.gruppo_proprio) setpgid(0, 0);
  if (avvio.uscita >= 0) dup2(avvio.uscita, STDOUT_FILENO);
  if (fd_log >= 0) {
    if (avvio.uscita < 0) dup2(fd_log, STDOUT_FILENO);
    dup2(fd_log, STDERR_FILENO);
  }
  const Account& a = avvio.account;
  if (a.cambia && (setgroups(0, nullptr) != 0 || setgid(a.gid) != 0 || setuid(a.uid) != 0)) {
    _exit(126);
  }
  prctl(PR_SET_PDEATHSIG, avvio.segnale_morte);  // after setuid, which clears it
  if (getppid() != genitore || (a.cambia && chdir("/") != 0)) _exit(126);
  if (avvio.ambiente_pulito) {
    execve(argv[0], argv.data(), ambiente_pulito);
  } else {
    execv(argv[0], argv.data());
  }
  _exit(127);
}

bool Vivo(pid_t pid) {
  int stato = 0;
  return waitpid(pid, &stato, WNOHANG) == 0;
}

int AttendiFine(pid_t pid) {
  int stato = 0;
  while (waitpid(pid, &stato, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return stato;
}

void Ferma(pid_t pid, int segnale, bool gruppo, std::chrono::milliseconds attesa) {
  if (pid <= 0) return;
  kill(gruppo ? -pid : pid, segnale);
  const auto limite = std::chrono::steady_clock::now() + attesa;
  while (Vivo(pid)) {
    if (std::chrono::steady_clock::now() > limite) {
      kill(gruppo ? -pid : pid, SIGKILL);
      AttendiFine(pid);
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

std::string DescriviStato(int stato) {
  if (WIFEXITED(stato)) return "codice di uscita " + std::to_string(WEXITSTATUS(stato));
  if (WIFSIGNALED(stato)) return "segnale " + std::to_string(WTERMSIG(stato));
  return "stato " + std::to_string(stato);
}

std::runtime_error ErroreConLog(const std::string& cosa, const fs::path& log) {
  if (log.empty()) return std::runtime_error(cosa);
  std::ifstream in(log);
  std::stringstream testo;
  testo << in.rdbuf();
  std::string coda = testo.str();
  if (coda.size() > 4000) coda = "..." + coda.substr(coda.size() - 4000);
  return std::runtime_error(cosa + "\n--- " + log.string() + " ---\n" + coda);
}

}  // namespace qzkiro::sandbox
