#include "sandbox/Pki.h"

#include <spawn.h>
#include <sys/wait.h>

#include <array>
#include <stdexcept>
#include <string>

extern char** environ;

namespace qzkiro::sandbox {

bool Pki::Completa() const {
  for (const auto& file :
       {Ca(), Server(), ChiaveServer(), ClientP12(), ClientPem(), ChiaveClient(), EstraneoP12(),
        Idp(), ChiaveIdp(), SarCf(), ChiaveSarCf(), Fse(), ChiaveFse()}) {
    std::error_code errore;
    if (std::filesystem::file_size(file, errore) == 0 || errore) return false;
  }
  return true;
}

Pki Pki::Crea(const std::filesystem::path& cartella) {
  Pki pki{std::filesystem::absolute(cartella)};
  if (pki.Completa()) return pki;

  std::string bash = "/bin/bash", script = Script().string(), dir = pki.cartella.string();
  std::array<char*, 4> argv = {bash.data(), script.data(), dir.data(), nullptr};
  pid_t pid = 0;
  if (posix_spawn(&pid, bash.c_str(), nullptr, nullptr, argv.data(), environ) != 0) {
    throw std::runtime_error("Impossibile avviare " + script);
  }
  int stato = 0;
  while (waitpid(pid, &stato, 0) < 0 && errno == EINTR) {
  }
  if (!WIFEXITED(stato) || WEXITSTATUS(stato) != 0 || !pki.Completa()) {
    throw std::runtime_error("Creazione della PKI di prova non riuscita in " + dir);
  }
  return pki;
}

Pki Pki::DellaCompilazione() {
  return Crea(QZKIRO_SANDBOX_PKI);
}

std::filesystem::path Pki::Script() {
  // An installed kiro-sandbox finds the script in its data folder, found from
  // the program's own place; a build tree's program uses the source tree's.
  std::error_code errore;
  const auto programma = std::filesystem::read_symlink("/proc/self/exe", errore);
  if (!errore) {
    const auto installato =
        (programma.parent_path() / QZKIRO_SANDBOX_SCRIPT_DA_PROGRAMMA).lexically_normal();
    if (std::filesystem::is_regular_file(installato, errore)) return installato;
  }
  return QZKIRO_SANDBOX_SCRIPT_PKI;
}

}  // namespace qzkiro::sandbox
