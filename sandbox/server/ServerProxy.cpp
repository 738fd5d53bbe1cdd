#include "sandbox/server/ServerProxy.h"

#include <unistd.h>

#include <fstream>
#include <sstream>
#include <thread>

#include "sandbox/server/Porte.h"
#include "sandbox/server/Processo.h"

namespace qzkiro::sandbox {

ServerProxy::ServerProxy(const std::string& utente, const std::string& password) {
  const auto log = cartella_.Path() / "tinyproxy.log";
  for (int tentativo = 0; tentativo < 5; ++tentativo) {
    porta_ = PortaLibera();
    std::string config = "Port " + std::to_string(porta_) +
                         "\nListen 127.0.0.1\nAllow 127.0.0.1\nTimeout 30\nLogLevel Info\n"
                         "LogFile \"" +
                         log.string() + "\"\n";
    if (geteuid() == 0) config += "User nobody\nGroup nogroup\n";
    if (!utente.empty()) config += "BasicAuth " + utente + " " + password + "\n";
    const auto file = cartella_.Scrivi("tinyproxy.conf", config);
    std::filesystem::permissions(cartella_.Path(), std::filesystem::perms::all);
    pid_ = AvviaProcesso({{"/usr/bin/tinyproxy", "-d", "-c", file.string()},
                          cartella_.Path() / "uscita.log",
                          -1,
                          Account{},
                          SIGTERM,
                          true,
                          true});
    for (int attesa = 0; attesa < 200 && Vivo(pid_); ++attesa) {
      if (Risponde(porta_)) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    Ferma(pid_, SIGTERM, true);
  }
  throw ErroreConLog("il proxy di prova (tinyproxy) non si è avviato",
                     cartella_.Path() / "uscita.log");
}

ServerProxy::~ServerProxy() {
  Ferma(pid_, SIGTERM, true);
}

std::string ServerProxy::Log() const {
  std::ifstream in(cartella_.Path() / "tinyproxy.log");
  std::stringstream testo;
  testo << in.rdbuf();
  return testo.str();
}

}  // namespace qzkiro::sandbox
