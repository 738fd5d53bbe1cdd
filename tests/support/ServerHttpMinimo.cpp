#include "support/ServerHttpMinimo.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstdlib>
#include <stdexcept>

namespace qzkiro::testsupport {

namespace {

constexpr int kAttesaMs = 5000;

bool Pronto(int fd) {
  pollfd p{fd, POLLIN, 0};
  return poll(&p, 1, kAttesaMs) > 0;
}

// The length of the body the head announces (0 without Content-Length).
std::size_t LunghezzaCorpo(const std::string& testa) {
  std::string minuscola = testa;
  for (char& c : minuscola) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const auto at = minuscola.find("\r\ncontent-length:");
  return at == std::string::npos ? 0 : std::strtoul(testa.c_str() + at + 17, nullptr, 10);
}

}  // namespace

ServerHttpMinimo::ServerHttpMinimo(std::string risposta, std::chrono::milliseconds attesa)
    : risposta_(std::move(risposta)), attesa_(attesa) {
  ascolto_ = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in indirizzo{};
  indirizzo.sin_family = AF_INET;
  indirizzo.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t lunghezza = sizeof indirizzo;
  if (ascolto_ < 0 || bind(ascolto_, reinterpret_cast<sockaddr*>(&indirizzo), sizeof indirizzo) ||
      listen(ascolto_, 1) ||
      getsockname(ascolto_, reinterpret_cast<sockaddr*>(&indirizzo), &lunghezza)) {
    if (ascolto_ >= 0) close(ascolto_);
    throw std::runtime_error("server HTTP di prova: porta non disponibile");
  }
  porta_ = ntohs(indirizzo.sin_port);
  thread_ = std::thread([this] { Servi(); });
}

ServerHttpMinimo::~ServerHttpMinimo() {
  thread_.join();
  close(ascolto_);
}

std::string ServerHttpMinimo::Url(const std::string& percorso) const {
  return "http://127.0.0.1:" + std::to_string(porta_) + percorso;
}

std::string ServerHttpMinimo::Richiesta() {
  if (ricevuta_.wait_for(std::chrono::milliseconds(2 * kAttesaMs)) != std::future_status::ready) {
    return {};
  }
  return ricevuta_.get();
}

void ServerHttpMinimo::Servi() {
  std::string ricevuto;
  const int connessione = Pronto(ascolto_) ? accept(ascolto_, nullptr, nullptr) : -1;
  if (connessione >= 0) {
    char blocco[4096];
    for (;;) {
      const auto fine_testa = ricevuto.find("\r\n\r\n");
      if (fine_testa != std::string::npos &&
          ricevuto.size() >= fine_testa + 4 + LunghezzaCorpo(ricevuto.substr(0, fine_testa))) {
        break;
      }
      if (!Pronto(connessione)) break;
      const auto letti = read(connessione, blocco, sizeof blocco);
      if (letti <= 0) break;
      ricevuto.append(blocco, static_cast<std::size_t>(letti));
    }
    std::this_thread::sleep_for(attesa_);
    // The client may have gone meanwhile: no SIGPIPE for that.
    for (std::size_t scritti = 0; scritti < risposta_.size();) {
      const auto n =
          send(connessione, risposta_.data() + scritti, risposta_.size() - scritti, MSG_NOSIGNAL);
      if (n <= 0) break;
      scritti += static_cast<std::size_t>(n);
    }
    close(connessione);
  }
  richiesta_.set_value(std::move(ricevuto));
}

}  // namespace qzkiro::testsupport
