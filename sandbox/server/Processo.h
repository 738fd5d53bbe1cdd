#pragma once

#include <sys/types.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace qzkiro::sandbox {

// Who a server we start runs as: a system account when we run as root
// (PostgreSQL and dovecot refuse root), ourselves otherwise.
struct Account {
  uid_t uid = 0;
  gid_t gid = 0;
  bool cambia = false;
};
// Throws when we are root and the account `nome` does not exist.
Account AccountDiServizio(const char* nome);

// How to start a child process.
struct Avvio {
  std::vector<std::string> args;  // args[0] is the program's full path
  std::filesystem::path log;      // standard output and error appended here ("" = inherited)
  int uscita = -1;                // standard output on this descriptor instead of the log
  Account account;
  int segnale_morte = SIGTERM;   // what the child gets when our process dies
  bool gruppo_proprio = false;   // its own process group, so Ferma reaches its children too
  bool ambiente_pulito = false;  // only PATH and LANG, instead of our environment
};
pid_t AvviaProcesso(const Avvio& avvio);

// Still running? Reaps it when it has ended.
bool Vivo(pid_t pid);
// Waits for the end; the wait status.
int AttendiFine(pid_t pid);
// Sends `segnale` (to its whole group when `gruppo`), then SIGKILL when it is
// still running after `attesa`; reaps it.
void Ferma(pid_t pid, int segnale, bool gruppo,
           std::chrono::milliseconds attesa = std::chrono::seconds(5));
std::string DescriviStato(int stato);

// An error whose message carries the end of a server's log.
std::runtime_error ErroreConLog(const std::string& cosa, const std::filesystem::path& log = {});

}  // namespace qzkiro::sandbox
