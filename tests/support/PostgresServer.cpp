#include "support/PostgresServer.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

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

std::string Tail(const fs::path& file) {
  std::ifstream in(file);
  std::stringstream text;
  text << in.rdbuf();
  std::string all = text.str();
  constexpr std::size_t kMax = 4000;
  return all.size() > kMax ? "..." + all.substr(all.size() - kMax) : all;
}

std::runtime_error Error(const std::string& what, const fs::path& log = {}) {
  std::string message = what;
  if (!log.empty()) message += "\n--- " + log.string() + " ---\n" + Tail(log);
  return std::runtime_error(message);
}

// Who runs the server: the postgres account when we are root (initdb and the
// postmaster refuse root), ourselves otherwise.
struct Account {
  uid_t uid = 0;
  gid_t gid = 0;
  bool change = false;
};

Account ServerAccount() {
  if (geteuid() != 0) return {geteuid(), getegid(), false};
  const passwd* pw = getpwnam("postgres");
  if (pw == nullptr)
    throw Error("si esegue come root, ma l'utente di sistema 'postgres' non esiste");
  return {pw->pw_uid, pw->pw_gid, true};
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

// Starts `args` as a child process under `account`, with its output appended
// to `log` (nothing when empty) and `death_signal` sent to it if we die.
pid_t Spawn(const std::vector<std::string>& args, const Account& account, const fs::path& log,
            int death_signal) {
  std::vector<char*> argv;
  for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  const std::string log_path = log.string();
  const pid_t parent = getpid();

  const pid_t pid = fork();
  if (pid < 0) throw Error(std::string("fork non riuscita: ") + std::strerror(errno));
  if (pid > 0) return pid;

  // Child: only async-signal-safe calls from here on.
  if (!log_path.empty()) {
    const int fd = open(log_path.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (fd >= 0) {
      dup2(fd, STDOUT_FILENO);
      dup2(fd, STDERR_FILENO);
      close(fd);
    }
  }
  if (account.change) {
    if (setgroups(0, nullptr) != 0 || setgid(account.gid) != 0 || setuid(account.uid) != 0) {
      constexpr char kMessage[] = "cambio di utente non riuscito\n";
      [[maybe_unused]] auto n = write(STDERR_FILENO, kMessage, sizeof kMessage - 1);
      _exit(126);
    }
    if (chdir("/") != 0) _exit(126);  // initdb wants a readable working directory
  }
  // After setuid, which clears it.
  prctl(PR_SET_PDEATHSIG, death_signal);
  if (getppid() != parent) _exit(126);
  execv(argv[0], argv.data());
  constexpr char kMessage[] = "exec non riuscita\n";
  [[maybe_unused]] auto n = write(STDERR_FILENO, kMessage, sizeof kMessage - 1);
  _exit(127);
}

int Wait(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return status;
}

std::string DescribeStatus(int status) {
  if (WIFEXITED(status)) return "codice di uscita " + std::to_string(WEXITSTATUS(status));
  if (WIFSIGNALED(status)) return "segnale " + std::to_string(WTERMSIG(status));
  return "stato " + std::to_string(status);
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
    const Account account = ServerAccount();
    const fs::path bin = BinDir();
    char pattern[] = "/tmp/qzkiro-pg.XXXXXX";  // short: a socket path is limited to 107 bytes
    if (mkdtemp(pattern) == nullptr) {
      throw Error(std::string("mkdtemp non riuscita: ") + std::strerror(errno));
    }
    dir_ = pattern;
    if (account.change && chown(pattern, account.uid, account.gid) != 0) {
      throw Error("chown di " + dir_.string() + " non riuscita: " + std::strerror(errno));
    }
    const fs::path data = dir_ / "data";

    const fs::path initdb_log = dir_ / "initdb.log";
    const int initdb =
        Wait(Spawn({(bin / "initdb").string(), "-D", data.string(), "-U", "postgres", "-A", "trust",
                    "-E", "UTF8", "--locale=C.UTF-8", "--no-sync", "--no-instructions"},
                   account, initdb_log, SIGKILL));
    if (!WIFEXITED(initdb) || WEXITSTATUS(initdb) != 0) {
      throw Error("initdb non riuscito (" + DescribeStatus(initdb) + ")", initdb_log);
    }

    server_log_ = dir_ / "server.log";
    postmaster_ = Spawn({(bin / "postgres").string(), "-D", data.string(), "-p", kPort, "-k",
                         dir_.string(), "-c", "listen_addresses=", "-c", "fsync=off", "-c",
                         "synchronous_commit=off", "-c", "full_page_writes=off"},
                        account, server_log_, SIGQUIT);

    const std::string connection =
        "host=" + dir_.string() + " port=" + kPort + " user=postgres dbname=postgres";
    const auto deadline = Clock::now() + std::chrono::seconds(30);
    for (;;) {
      int status = 0;
      if (waitpid(postmaster_, &status, WNOHANG) == postmaster_) {
        postmaster_ = -1;
        throw Error("il server PostgreSQL si è fermato all'avvio (" + DescribeStatus(status) + ")",
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
    if (postmaster_ > 0) {
      kill(postmaster_, SIGQUIT);  // immediate shutdown: nothing here is worth keeping
      const auto deadline = Clock::now() + std::chrono::seconds(10);
      int status = 0;
      while (waitpid(postmaster_, &status, WNOHANG) == 0) {
        if (Clock::now() > deadline) {
          kill(postmaster_, SIGKILL);
          Wait(postmaster_);
          break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      }
    }
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

    const pid_t child = Spawn(args, Account{}, {}, SIGKILL);
    g_test_process = child;
    const int status = Wait(child);
    g_test_process = 0;

    if (WIFEXITED(status)) return WEXITSTATUS(status);
    std::cerr << "[PostgresServer] le prove sono terminate in modo anomalo ("
              << DescribeStatus(status) << ")" << std::endl;
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : 1;
  } catch (const std::exception& e) {
    std::cerr << "[PostgresServer] ERRORE: impossibile avviare il server PostgreSQL di prova: "
              << e.what() << std::endl;
    return 1;
  }
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
