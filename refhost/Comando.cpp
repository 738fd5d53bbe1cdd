#include "refhost/Comando.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

extern char** environ;

namespace qzkiro::refhost {

namespace {

// How the child starts: /dev/null for its input and output, its own group.
class Avvio {
 public:
  Avvio() {
    posix_spawn_file_actions_init(&azioni_);
    posix_spawn_file_actions_addopen(&azioni_, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&azioni_, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&azioni_, STDOUT_FILENO, STDERR_FILENO);
    posix_spawnattr_init(&attributi_);
    posix_spawnattr_setflags(&attributi_, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributi_, 0);
  }
  ~Avvio() {
    posix_spawnattr_destroy(&attributi_);
    posix_spawn_file_actions_destroy(&azioni_);
  }
  Avvio(const Avvio&) = delete;
  Avvio& operator=(const Avvio&) = delete;

  // The child's id, -1 when it could not start.
  pid_t Lancia(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    return posix_spawnp(&pid, argv[0], &azioni_, &attributi_, argv.data(), environ) == 0 ? pid : -1;
  }

 private:
  posix_spawn_file_actions_t azioni_;
  posix_spawnattr_t attributi_;
};

// The wait status of the child; past `limite` its group is killed first.
int AttendiFine(pid_t pid, std::chrono::milliseconds limite) {
  const auto scadenza = std::chrono::steady_clock::now() + limite;
  int stato = 0;
  for (;;) {
    const pid_t finito = waitpid(pid, &stato, WNOHANG);
    if (finito == pid) return stato;
    if (finito < 0 && errno != EINTR) return -1;
    if (std::chrono::steady_clock::now() > scadenza) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  kill(-pid, SIGKILL);
  while (waitpid(pid, &stato, 0) < 0 && errno == EINTR) {
  }
  return -1;
}

}  // namespace

std::vector<std::string> DividiArgomenti(const std::string& riga) {
  std::vector<std::string> args;
  std::string corrente;
  bool in_argomento = false, tra_virgolette = false;
  for (char c : riga) {
    if (c == '"') {
      tra_virgolette = !tra_virgolette;
      in_argomento = true;
    } else if ((c == ' ' || c == '\t') && !tra_virgolette) {
      if (in_argomento) args.push_back(std::move(corrente));
      corrente.clear();
      in_argomento = false;
    } else {
      corrente.push_back(c);
      in_argomento = true;
    }
  }
  if (in_argomento) args.push_back(std::move(corrente));
  return args;
}

bool EseguiComando(const std::vector<std::string>& args, std::chrono::milliseconds limite) {
  if (args.empty() || args.front().empty()) return false;
  Avvio avvio;
  const pid_t pid = avvio.Lancia(args);
  if (pid < 0) return false;
  const int stato = AttendiFine(pid, limite);
  return stato >= 0 && WIFEXITED(stato) && WEXITSTATUS(stato) == 0;
}

}  // namespace qzkiro::refhost
