#include "support/PostgresServer.h"

#include "support/Processo.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <pqxx/pqxx>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string_view>
#include <thread>
#include <vector>

namespace qzkiro::testsupport {

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr const char* kReadyVariable = "QZKIRO_PG_READY";
constexpr const char* kPort = "5432";  // the socket lives in a private directory: no clash

std::runtime_error Error(const std::string& what, const fs::path& log = {}) {
  return ErroreConLog(what, log);
}

fs::path BinDir() {
  if (const char* dir = std::getenv("QZKIRO_PG_BINDIR")) {
    if (!fs::exists(fs::path(dir) / "initdb")) {
      throw Error(std::string("QZKIRO_PG_BINDIR=") + dir + " non contiene initdb");
    }
    return dir;
  }
  fs::path best;
  int best_version = -1;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator("/usr/lib/postgresql", ec)) {
    const std::string name = entry.path().filename().string();
    const int version = std::atoi(name.c_str());
    if (version > best_version && fs::exists(entry.path() / "bin" / "initdb")) {
      best_version = version;
      best = entry.path() / "bin";
    }
  }
  if (best.empty()) {
    throw Error("nessun initdb in /usr/lib/postgresql/*/bin (impostare QZKIRO_PG_BINDIR)");
  }
  return best;
}

// A PostgreSQL cluster in a fresh temporary directory, with its postmaster
// running as our child; stopped and deleted by the destructor.
class Cluster {
 public:
  Cluster() {
    try {
      Start();
    } catch (...) {
      Stop();
      throw;
    }
  }

  ~Cluster() { Stop(); }

  Cluster(const Cluster&) = delete;
  Cluster& operator=(const Cluster&) = delete;

  // Sets the PG* variables for libpq clients of this server.
  void Export() const {
    for (const char* name : {"PGHOSTADDR", "PGSERVICE", "PGSERVICEFILE", "PGPASSWORD", "PGOPTIONS",
                             "PGSSLMODE", "PGREQUIRESSL", "PGGSSENCMODE", "PGTARGETSESSIONATTRS"}) {
      unsetenv(name);
    }
    setenv("PGHOST", dir_.c_str(), 1);
    setenv("PGPORT", kPort, 1);
    setenv("PGUSER", "postgres", 1);
    setenv("PGDATABASE", "postgres", 1);
  }

  const fs::path& Directory() const { return dir_; }

 private:
  void Start() {
    // initdb and the postmaster refuse root.
    const Account account = AccountDiServizio("postgres");
    const fs::path bin = BinDir();
    char pattern[] = "/tmp/qzkiro-pg.XXXXXX";  // short: a socket path is limited to 107 bytes
    if (mkdtemp(pattern) == nullptr) {
      throw Error(std::string("mkdtemp non riuscita: ") + std::strerror(errno));
    }
    dir_ = pattern;
    if (account.cambia && chown(pattern, account.uid, account.gid) != 0) {
      throw Error("chown di " + dir_.string() + " non riuscita: " + std::strerror(errno));
    }
    const fs::path data = dir_ / "data";

    const fs::path initdb_log = dir_ / "initdb.log";
    const int initdb = AttendiFine(AvviaProcesso(
        {{(bin / "initdb").string(), "-D", data.string(), "-U", "postgres", "-A", "trust", "-E",
          "UTF8", "--locale=C.UTF-8", "--no-sync", "--no-instructions"},
         initdb_log,
         -1,
         account,
         SIGKILL}));
    if (!WIFEXITED(initdb) || WEXITSTATUS(initdb) != 0) {
      throw Error("initdb non riuscito (" + DescriviStato(initdb) + ")", initdb_log);
    }

    server_log_ = dir_ / "server.log";
    postmaster_ = AvviaProcesso({{(bin / "postgres").string(), "-D", data.string(), "-p", kPort,
                                  "-k", dir_.string(), "-c", "listen_addresses=", "-c", "fsync=off",
                                  "-c", "synchronous_commit=off", "-c", "full_page_writes=off"},
                                 server_log_,
                                 -1,
                                 account,
                                 SIGQUIT});

    const std::string connection =
        "host=" + dir_.string() + " port=" + kPort + " user=postgres dbname=postgres";
    const auto deadline = Clock::now() + std::chrono::seconds(30);
    for (;;) {
      int status = 0;
      if (waitpid(postmaster_, &status, WNOHANG) == postmaster_) {
        postmaster_ = -1;
        throw Error("il server PostgreSQL si è fermato all'avvio (" + DescriviStato(status) + ")",
                    server_log_);
      }
      try {
        pqxx::connection probe(connection);
        break;
      } catch (const std::exception& e) {
        if (Clock::now() > deadline) {
          throw Error(std::string("il server PostgreSQL non risponde dopo 30 s: ") + e.what(),
                      server_log_);
        }
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }

  void Stop() {
    // Immediate shutdown: nothing here is worth keeping.
    Ferma(postmaster_, SIGQUIT, false, std::chrono::seconds(10));
    postmaster_ = -1;
    std::error_code ec;
    if (!dir_.empty()) fs::remove_all(dir_, ec);
    dir_.clear();
  }

  fs::path dir_;
  fs::path server_log_;
  pid_t postmaster_ = -1;
};

volatile sig_atomic_t g_test_process = 0;

void ForwardSignal(int signal_number) {
  if (g_test_process > 0) kill(static_cast<pid_t>(g_test_process), signal_number);
}

bool ListsTestsOnly(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::string_view(argv[i]).starts_with("--gtest_list_tests")) return true;
  }
  return false;
}

std::atomic<int> g_schema_counter{0};

}  // namespace

int RunUnderPostgres(int argc, char** argv, const std::function<int()>& tests) {
  if (std::getenv(kReadyVariable) != nullptr || ListsTestsOnly(argc, argv)) return tests();

  try {
    const auto start = Clock::now();
    Cluster cluster;
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    std::cerr << "[PostgresServer] server PostgreSQL di prova pronto in " << ms << " ms (socket in "
              << cluster.Directory().string() << ")" << std::endl;
    cluster.Export();
    setenv(kReadyVariable, "1", 1);

    std::vector<std::string> args{fs::read_symlink("/proc/self/exe").string()};
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);

    struct sigaction forward {};
    forward.sa_handler = ForwardSignal;
    sigemptyset(&forward.sa_mask);
    for (int s : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaction(s, &forward, nullptr);

    const pid_t child = AvviaProcesso({args, {}, -1, Account{}, SIGKILL});
    g_test_process = child;
    const int status = AttendiFine(child);
    g_test_process = 0;

    if (WIFEXITED(status)) return WEXITSTATUS(status);
    std::cerr << "[PostgresServer] le prove sono terminate in modo anomalo ("
              << DescriviStato(status) << ")" << std::endl;
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : 1;
  } catch (const std::exception& e) {
    std::cerr << "[PostgresServer] ERRORE: impossibile avviare il server PostgreSQL di prova: "
              << e.what() << std::endl;
    return 1;
  }
}

int RunAllTestsUnderPostgres(int argc, char** argv) {
  return RunUnderPostgres(argc, argv, [&] {
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
  });
}

ScratchSchema::ScratchSchema(std::string name) : name_(std::move(name)) {
  if (name_.empty()) {
    name_ = "qzt_" + std::to_string(getpid()) + "_" + std::to_string(++g_schema_counter);
  }
  const bool simple =
      name_.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789_") == std::string::npos &&
      !(name_[0] >= '0' && name_[0] <= '9');
  if (!simple) throw std::invalid_argument("nome di schema non ammesso: " + name_);
  pqxx::connection connection("");
  pqxx::work work(connection);
  work.exec("CREATE SCHEMA " + name_);
  work.commit();
}

ScratchSchema::~ScratchSchema() {
  try {
    pqxx::connection connection("");
    pqxx::work work(connection);
    work.exec("DROP SCHEMA IF EXISTS " + name_ + " CASCADE");
    work.commit();
  } catch (const std::exception& e) {
    std::cerr << "[PostgresServer] eliminazione dello schema " << name_
              << " non riuscita: " << e.what() << std::endl;
  }
}

std::string ScratchSchema::ConnectionString() const {
  return "options='-c search_path=" + name_ + "'";
}

}  // namespace qzkiro::testsupport
