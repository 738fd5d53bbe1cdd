#include "sandbox/server/Porte.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <stdexcept>

namespace qzkiro::sandbox {

namespace {

sockaddr_in IndirizzoLoopback(int porta) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = htons(static_cast<std::uint16_t>(porta));
  return a;
}

}  // namespace

int SocketLegato(int* porta) {
  const int s = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (s < 0) throw std::runtime_error(std::string("socket: ") + std::strerror(errno));
  sockaddr_in a = IndirizzoLoopback(0);
  socklen_t n = sizeof a;
  if (bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
      getsockname(s, reinterpret_cast<sockaddr*>(&a), &n) != 0) {
    const int errore = errno;
    close(s);
    throw std::runtime_error(std::string("bind: ") + std::strerror(errore));
  }
  *porta = ntohs(a.sin_port);
  return s;
}

int PortaLibera() {
  int porta = 0;
  close(SocketLegato(&porta));
  return porta;
}

bool Risponde(int porta) {
  const int s = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (s < 0) return false;
  const sockaddr_in a = IndirizzoLoopback(porta);
  const bool ok = connect(s, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0;
  close(s);
  return ok;
}

std::string Loopback(int porta) {
  return "127.0.0.1:" + std::to_string(porta);
}

}  // namespace qzkiro::sandbox
