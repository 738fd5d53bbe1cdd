#include "refhost/ApriDocumento.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <thread>
#include <vector>

#include "refhost/Comando.h"

extern char** environ;

namespace qzkiro::refhost {

namespace {

std::vector<std::string> Comando(const std::string& documento) {
  const char* variabile = std::getenv(kVariabileApriDocumento);
  std::vector<std::string> args = DividiArgomenti(variabile ? variabile : "");
  if (args.empty()) args.emplace_back("xdg-open");
  args.push_back(documento);
  return args;
}

// The child's id, -1 when it could not start.
pid_t Lancia(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t azioni;
  posix_spawn_file_actions_init(&azioni);
  posix_spawn_file_actions_addopen(&azioni, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&azioni, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_adddup2(&azioni, STDOUT_FILENO, STDERR_FILENO);
  pid_t pid = -1;
  const int esito = posix_spawnp(&pid, argv[0], &azioni, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&azioni);
  return esito == 0 ? pid : -1;
}

}  // namespace

bool ApriDocumento(const std::string& documento, std::chrono::milliseconds attesa) {
  const pid_t pid = Lancia(Comando(documento));
  if (pid < 0) return false;
  const auto scadenza = std::chrono::steady_clock::now() + attesa;
  int stato = 0;
  for (;;) {
    const pid_t finito = waitpid(pid, &stato, WNOHANG);
    if (finito == pid) return WIFEXITED(stato) && WEXITSTATUS(stato) == 0;
    if (finito < 0 && errno != EINTR) return false;
    if (std::chrono::steady_clock::now() > scadenza) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  // Still with the program it started: it is not waited for any longer.
  std::thread([pid] {
    int fine = 0;
    while (waitpid(pid, &fine, 0) < 0 && errno == EINTR) {
    }
  }).detach();
  return true;
}

}  // namespace qzkiro::refhost
