#pragma once

// A sandbox server and its identity provider in a child process, so that the
// time and peak memory this process measures are the add-on's alone.

#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <memory>
#include <string>

#include "core/Contesto.h"
#include "net/clsAsserzione.h"
#include "sandbox/IdentityProvider.h"
#include "sandbox/Pki.h"
#include "sandbox/Sandbox.h"

namespace qzkiro::bench {

class ServerInFiglio {
 public:
  // What the child runs on each one-byte command of the parent.
  using Comando = std::function<void(char)>;
  // Made in the child: mounts the services on the server (user "mrossi" is
  // already known to the identity provider) and gives the command handler.
  using Monta = std::function<Comando(sandbox::Sandbox&, sandbox::IdentityProvider&)>;

  ServerInFiglio(const sandbox::Pki& pki, const Monta& monta) {
    int su[2], giu[2];
    if (pipe(su) != 0 || pipe(giu) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      close(su[0]);
      close(giu[1]);
      Figlio(pki, monta, su[1], giu[0]);
    }
    close(su[1]);
    close(giu[0]);
    verso_figlio_ = giu[1];
    dal_figlio_ = su[0];
    int porte[2] = {0, 0};
    if (read(su[0], porte, sizeof porte) == sizeof porte) {
      porta = porte[0];
      porta_http = porte[1];
    }
  }
  ServerInFiglio(const ServerInFiglio&) = delete;
  ServerInFiglio& operator=(const ServerInFiglio&) = delete;
  // The child stops when its end of the pipe closes.
  ~ServerInFiglio() {
    close(verso_figlio_);
    close(dal_figlio_);
    if (pid_ > 0) waitpid(pid_, nullptr, 0);
  }

  // Runs a command in the child and waits for it to be done.
  bool Comanda(char c) const {
    return write(verso_figlio_, &c, 1) == 1 && read(dal_figlio_, &c, 1) == 1;
  }
  std::string Url(const std::string& percorso) const {
    return "https://127.0.0.1:" + std::to_string(porta) + percorso;
  }
  std::string UrlHttp() const { return "http://127.0.0.1:" + std::to_string(porta_http); }

  int porta = 0, porta_http = 0;

 private:
  [[noreturn]] static void Figlio(const sandbox::Pki& pki, const Monta& monta, int verso_padre,
                                  int dal_padre) {
    {
      sandbox::Sandbox server{pki};
      sandbox::IdentityProvider idp{server, pki.ChiaveIdp()};
      idp.AggiungiUtente("mrossi", "Segreta.1");
      const Comando comando = monta(server, idp);
      const int porte[2] = {server.Porta(), server.PortaHttp()};
      if (write(verso_padre, porte, sizeof porte) != sizeof porte) _exit(1);
      char c;
      while (read(dal_padre, &c, 1) > 0) {
        if (comando) comando(c);
        if (write(verso_padre, &c, 1) != 1) _exit(1);
      }
    }
    _exit(0);
  }

  pid_t pid_ = -1;
  int verso_figlio_ = -1, dal_figlio_ = -1;
};

// Points the add-on of this process at the child's sandbox: its identity
// provider and clock, the test PKI's certificates, and the sandbox user's
// credentials remembered, so no dialog asks for them.
inline void ImpostaClienteSandbox(core::Contesto& c, const sandbox::Pki& pki,
                                  const ServerInFiglio& server) {
  auto& s = c.settings;
  s.endpoint["iap"] = server.Url("/iap");
  s.certificato = pki.Idp().string();
  s.certificato_tls = pki.ClientP12().string();
  s.password_tls = std::string(sandbox::Pki::kPassword);
  s.endpoint_ora = server.UrlHttp();
  auto identita = std::make_shared<net::clsAsserzione>();
  c.servizio_asserzione = identita;
  identita->Ricorda("mrossi", "Segreta.1", "RSSMRA70A01L736S", "RSSMRA70A01L736S");
}

}  // namespace qzkiro::bench
