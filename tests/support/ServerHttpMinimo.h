#pragma once

#include <chrono>
#include <future>
#include <string>
#include <thread>

namespace qzkiro::testsupport {

// A plain HTTP server on loopback for one exchange: the first connection gets
// `risposta` (the raw bytes of an answer), after `attesa` once the request is
// in, and is closed; the request is kept as it arrived (head and body). For
// tests of a client's own handling of the wire, where no TLS is involved.
class ServerHttpMinimo {
 public:
  explicit ServerHttpMinimo(std::string risposta,
                            std::chrono::milliseconds attesa = std::chrono::milliseconds(0));
  ~ServerHttpMinimo();
  ServerHttpMinimo(const ServerHttpMinimo&) = delete;
  ServerHttpMinimo& operator=(const ServerHttpMinimo&) = delete;

  // "http://127.0.0.1:<port>" + percorso.
  std::string Url(const std::string& percorso = "/") const;
  // The request received; waits (at most a few seconds) for the exchange.
  std::string Richiesta();

 private:
  void Servi();

  std::string risposta_;
  std::chrono::milliseconds attesa_;
  int ascolto_ = -1;
  int porta_ = 0;
  std::promise<std::string> richiesta_;
  std::future<std::string> ricevuta_ = richiesta_.get_future();
  std::thread thread_;
};

}  // namespace qzkiro::testsupport
