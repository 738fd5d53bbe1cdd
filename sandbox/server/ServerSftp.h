#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>

#include "sandbox/server/CartellaTemporanea.h"

namespace qzkiro::sandbox {

// A throw-away system account for the SFTP server's password login
// (useradd, chpasswd), removed by the destructor when this object made it;
// an account of that name that already exists gets the password and is left
// in place afterwards. Needs root.
class AccountSftp {
 public:
  AccountSftp(std::string nome, const std::string& password);
  ~AccountSftp();
  AccountSftp(const AccountSftp&) = delete;
  AccountSftp& operator=(const AccountSftp&) = delete;

  const std::string& Nome() const { return nome_; }
  uid_t Uid() const { return uid_; }
  gid_t Gid() const { return gid_; }
  void CambiaPassword(const std::string& password) const;

 private:
  std::string nome_;
  bool creato_ = false;
  uid_t uid_ = 0;
  gid_t gid_ = 0;
};

// A real OpenSSH server for SFTP on a free loopback port: its own ed25519
// host key, password login only for `account`, every session confined
// (ChrootDirectory) to a root-owned folder under /run holding "upload/",
// owned by the account. With
// `limite_file` the server runs under that file-size limit (RLIMIT_FSIZE,
// bytes): a write past it fails, as on a full disk. Stopped, and its
// folders removed, by the destructor; throws with the server's log when it
// does not start.
class ServerSftp {
 public:
  explicit ServerSftp(const AccountSftp& account, long limite_file = 0);
  ~ServerSftp();
  ServerSftp(const ServerSftp&) = delete;
  ServerSftp& operator=(const ServerSftp&) = delete;

  int Porta() const { return porta_; }
  // The SHA-256 fingerprint of its host key in Base64, without "SHA256:".
  const std::string& Impronta() const { return impronta_; }
  // The fingerprint of another key, which this server does not hold.
  std::string ImprontaEstranea() const;
  // The folder the account writes to, as seen from outside the server.
  std::filesystem::path Upload() const { return radice_ / "upload"; }
  std::string Log() const;

 private:
  void Avvia(const AccountSftp& account, long limite_file);

  CartellaTemporanea cartella_;
  std::filesystem::path radice_;
  std::string impronta_;
  int porta_ = 0;
  pid_t pid_ = -1;
};

// The SHA-256 fingerprint of an OpenSSH public key file (ssh-keygen -l).
std::string ImprontaChiave(const std::filesystem::path& chiave_pubblica);

}  // namespace qzkiro::sandbox
