#pragma once

#include <functional>
#include <string>

namespace qzkiro::testsupport {

// Runs `tests` against a throw-away PostgreSQL server of its own. Call it from
// the test program's main (RunAllTestsUnderPostgres does, with every
// GoogleTest test of the program):
//
//   int main(int argc, char** argv) {
//     return qzkiro::testsupport::RunAllTestsUnderPostgres(argc, argv);
//   }
//
// Unless QZKIRO_PG_READY is set, it creates a cluster in a new /tmp directory
// (initdb, then the postmaster as a child process, as user postgres when run
// as root; Unix socket only, no TCP port), runs this same program again with
// QZKIRO_PG_READY=1 and PGHOST/PGPORT/PGUSER/PGDATABASE pointing at it, stops
// the server, deletes the directory and returns the second run's exit status.
// Inside that run (or when QZKIRO_PG_READY is set by hand to use a server
// named by the PG* variables) it just returns tests(). Listing the tests
// (--gtest_list_tests) starts no server.
//
// When the server cannot be started it prints why (with the server's log)
// and returns 1, so the test run fails. The binaries are taken from
// QZKIRO_PG_BINDIR, else from the newest /usr/lib/postgresql/<version>/bin.
int RunUnderPostgres(int argc, char** argv, const std::function<int()>& tests);
int RunAllTestsUnderPostgres(int argc, char** argv);

// A schema for one test, on the server named by the PG* variables: created
// empty by the constructor, dropped with everything in it by the destructor.
class ScratchSchema {
 public:
  // `name` empty gives a name of its own ("qzt_<pid>_<n>"); otherwise it must
  // be a lower-case identifier and no schema with that name may exist.
  explicit ScratchSchema(std::string name = {});
  ~ScratchSchema();
  ScratchSchema(const ScratchSchema&) = delete;
  ScratchSchema& operator=(const ScratchSchema&) = delete;

  const std::string& Name() const { return name_; }
  // A libpq connection string for the same server whose search_path is this
  // schema alone, so unqualified names are created and found in it.
  std::string ConnectionString() const;

 private:
  std::string name_;
};

}  // namespace qzkiro::testsupport
