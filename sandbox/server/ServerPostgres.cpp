#include "sandbox/server/ServerPostgres.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "sandbox/server/Processo.h"

namespace qzkiro::sandbox {

namespace {

namespace fs = std::filesystem;
using Orologio = std::chrono::steady_clock;

constexpr const char* kPorta = "5432";  // the socket lies in a private folder: no clash

fs::path CartellaProgrammi() {
  if (const char* cartella = std::getenv("QZKIRO_PG_BINDIR")) {
    if (!fs::exists(fs::path(cartella) / "initdb")) {
      throw ErroreConLog(std::string("QZKIRO_PG_BINDIR=") + cartella + " non contiene initdb");
    }
    return cartella;
  }
  fs::path migliore;
  int versione_migliore = -1;
  std::error_code ec;
  for (const auto& voce : fs::directory_iterator("/usr/lib/postgresql", ec)) {
    const int versione = std::atoi(voce.path().filename().c_str());
    if (versione > versione_migliore && fs::exists(voce.path() / "bin" / "initdb")) {
      versione_migliore = versione;
      migliore = voce.path() / "bin";
    }
  }
  if (migliore.empty()) {
    throw ErroreConLog("nessun initdb in /usr/lib/postgresql/*/bin (impostare QZKIRO_PG_BINDIR)");
  }
  return migliore;
}

// Runs a program to its end as `account`; its exit code (-1 when it did not exit).
int Esegui(const std::vector<std::string>& args, const fs::path& log, const Account& account) {
  const int stato = AttendiFine(AvviaProcesso({args, log, -1, account, SIGKILL}));
  return WIFEXITED(stato) ? WEXITSTATUS(stato) : -1;
}

}  // namespace

ServerPostgres::ServerPostgres() {
  try {
    Avvia();
  } catch (...) {
    Ferma();
    throw;
  }
}

ServerPostgres::~ServerPostgres() { Ferma(); }

std::string ServerPostgres::Connessione() const {
  return "host=" + cartella_.string() + " port=" + kPorta + " user=postgres dbname=postgres";
}

void ServerPostgres::Esporta() const {
  for (const char* nome : {"PGHOSTADDR", "PGSERVICE", "PGSERVICEFILE", "PGPASSWORD", "PGOPTIONS",
                           "PGSSLMODE", "PGREQUIRESSL", "PGGSSENCMODE", "PGTARGETSESSIONATTRS"}) {
    unsetenv(nome);
  }
  setenv("PGHOST", cartella_.c_str(), 1);
  setenv("PGPORT", kPorta, 1);
  setenv("PGUSER", "postgres", 1);
  setenv("PGDATABASE", "postgres", 1);
}

void ServerPostgres::Avvia() {
  const Account account = AccountDiServizio("postgres");
  const fs::path programmi = CartellaProgrammi();
  char modello[] = "/tmp/qzkiro-pg.XXXXXX";  // short: a socket path is limited to 107 bytes
  if (mkdtemp(modello) == nullptr) {
    throw ErroreConLog(std::string("mkdtemp non riuscita: ") + std::strerror(errno));
  }
  cartella_ = modello;
  if (account.cambia && chown(modello, account.uid, account.gid) != 0) {
    throw ErroreConLog("chown di " + cartella_.string() + " non riuscita: " + std::strerror(errno));
  }
  const fs::path dati = cartella_ / "data";
  const fs::path log_initdb = cartella_ / "initdb.log";
  if (Esegui({(programmi / "initdb").string(), "-D", dati.string(), "-U", "postgres", "-A",
              "trust", "-E", "UTF8", "--locale=C.UTF-8", "--no-sync", "--no-instructions"},
             log_initdb, account) != 0) {
    throw ErroreConLog("initdb non riuscito", log_initdb);
  }
  const fs::path log = cartella_ / "server.log";
  postmaster_ = AvviaProcesso(
      {{(programmi / "postgres").string(), "-D", dati.string(), "-p", kPorta, "-k",
        cartella_.string(), "-c", "listen_addresses=", "-c", "fsync=off", "-c",
        "synchronous_commit=off", "-c", "full_page_writes=off"},
       log, -1, account, SIGQUIT});
  const auto scadenza = Orologio::now() + std::chrono::seconds(30);
  const std::vector<std::string> pronto{(programmi / "pg_isready").string(), "-q", "-h",
                                        cartella_.string(), "-p", kPorta, "-U", "postgres"};
  while (Esegui(pronto, {}, Account{}) != 0) {
    if (!Vivo(postmaster_)) {
      postmaster_ = -1;
      throw ErroreConLog("il server PostgreSQL si è fermato all'avvio", log);
    }
    if (Orologio::now() > scadenza) {
      throw ErroreConLog("il server PostgreSQL non risponde dopo 30 s", log);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

void ServerPostgres::Ferma() {
  // Immediate shutdown: nothing here is worth keeping.
  sandbox::Ferma(postmaster_, SIGQUIT, false, std::chrono::seconds(10));
  postmaster_ = -1;
  std::error_code ec;
  if (!cartella_.empty()) fs::remove_all(cartella_, ec);
  cartella_.clear();
}

}  // namespace qzkiro::sandbox
