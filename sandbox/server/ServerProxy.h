#pragma once

#include <sys/types.h>

#include <string>

#include "sandbox/server/CartellaTemporanea.h"

namespace qzkiro::sandbox {

// A real HTTP proxy (tinyproxy) on a free loopback port, tunnelling HTTPS with
// CONNECT; with a user name it asks for those Basic credentials. Stopped by
// the destructor. Throws when it cannot start.
class ServerProxy {
 public:
  explicit ServerProxy(const std::string& utente = {}, const std::string& password = {});
  ~ServerProxy();
  ServerProxy(const ServerProxy&) = delete;
  ServerProxy& operator=(const ServerProxy&) = delete;

  int Porta() const { return porta_; }
  // What the proxy logged so far.
  std::string Log() const;

 private:
  CartellaTemporanea cartella_;
  int porta_ = 0;
  pid_t pid_ = -1;
};

}  // namespace qzkiro::sandbox
