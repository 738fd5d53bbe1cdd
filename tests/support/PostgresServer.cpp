#include "support/PostgresServer.h"

#include "sandbox/server/Processo.h"
#include "sandbox/server/ServerPostgres.h"

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

using sandbox::Account;
using sandbox::AttendiFine;
using sandbox::AvviaProcesso;
using sandbox::DescriviStato;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr const char* kReadyVariable = "QZKIRO_PG_READY";

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
    sandbox::ServerPostgres server;
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    std::cerr << "[PostgresServer] server PostgreSQL di prova pronto in " << ms << " ms (socket in "
              << server.Cartella().string() << ")" << std::endl;
    server.Esporta();
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
