#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>

namespace qzkiro::sandbox {

// A throw-away PostgreSQL server, for the host's database when no server is
// at hand: a cluster made with initdb in a new /tmp folder and its
// postmaster running as our child (as the account postgres when we are
// root, since PostgreSQL refuses root), reached through a Unix socket in
// that folder only, with no TCP port. Trust authentication for "postgres",
// no fsync: nothing in it is meant to last. Stopped, and its folder
// deleted, by the destructor; the constructor throws std::runtime_error,
// with the end of the server's log, when it does not start within 30 s.
// The programs are taken from $QZKIRO_PG_BINDIR, else from the newest
// /usr/lib/postgresql/<version>/bin.
class ServerPostgres {
 public:
  ServerPostgres();
  ~ServerPostgres();
  ServerPostgres(const ServerPostgres&) = delete;
  ServerPostgres& operator=(const ServerPostgres&) = delete;

  // The folder of the cluster and of its socket.
  const std::filesystem::path& Cartella() const { return cartella_; }
  // A libpq connection string for the "postgres" database.
  std::string Connessione() const;
  // Points libpq's PG* variables at this server, clearing those that could
  // send a client elsewhere.
  void Esporta() const;

 private:
  void Avvia();
  void Ferma();

  std::filesystem::path cartella_;
  pid_t postmaster_ = -1;
};

}  // namespace qzkiro::sandbox
