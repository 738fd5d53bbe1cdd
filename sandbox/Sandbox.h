#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "sandbox/Guasto.h"
#include "sandbox/Pki.h"
#include "sandbox/Scambio.h"

namespace qzkiro::sandbox {

struct OpzioniSandbox {
  std::filesystem::path certificato;  // the server's certificate (PEM)
  std::filesystem::path chiave;       // and its key
  std::filesystem::path ca_client;    // clients must present a certificate signed by this CA
  bool http = true;                   // also a plain-HTTP listener (services reached without TLS)

  static OpzioniSandbox Da(const Pki& pki) {
    return {pki.Server(), pki.ChiaveServer(), pki.Ca(), true};
  }
};

// The remote services' side of the wire, on 127.0.0.1: an HTTPS listener that
// requires a client certificate signed by the test CA and, optionally, a plain
// HTTP one, both on ephemeral ports. Both serve the same routes. Every request
// is recorded with the route that served it, the status answered and the
// outcome of its validation; faults can be scripted per path. Listening from construction
// until Ferma or destruction. Routes, faults and the record may be changed and
// read from any thread while requests are served.
class Sandbox {
 public:
  // Throws std::runtime_error when a file is unreadable or a port cannot be bound.
  explicit Sandbox(const OpzioniSandbox& opzioni);
  explicit Sandbox(const Pki& pki) : Sandbox(OpzioniSandbox::Da(pki)) {}
  ~Sandbox();
  Sandbox(const Sandbox&) = delete;
  Sandbox& operator=(const Sandbox&) = delete;

  int Porta() const;
  int PortaHttp() const;  // 0 without the plain listener
  // "https://127.0.0.1:PORT" followed by `percorso` (which starts with '/').
  std::string Url(std::string_view percorso = {}) const;
  std::string UrlHttp(std::string_view percorso = {}) const;

  // Serves `metodo` on `percorso`: an exact path, or every path below a prefix
  // when it ends with "/*" ("/hl7/*" serves "/hl7/ricerca"). An exact route wins
  // over prefixes, a longer prefix over a shorter one. Replaces the route with the
  // same method and path. Unknown paths get 404, known paths with another method 405.
  // `servizio` names the route's family in the record ("mef", "hl7"); by
  // default the first segment of `percorso`.
  void Registra(std::string_view metodo, std::string_view percorso, Gestore gestore,
                std::string_view servizio = {});

  // Queues a fault on the exact path `percorso`; queued faults apply in order.
  void ProgrammaGuasto(std::string_view percorso, Guasto guasto);
  void TogliGuasti();

  // Every request received so far, in order of arrival (also those that got a
  // fault or 404); or only those to the exact path `percorso`.
  std::vector<Richiesta> Richieste() const;
  std::vector<Richiesta> Richieste(std::string_view percorso) const;
  void DimenticaRichieste();

  // From now on writes every request received into `cartella` (created when
  // missing): its body as "0007-mef-AnnullaPrescritto.xml" (sequence, family,
  // path) and, rewritten after each exchange, "indice.json" with what was
  // answered. Throws std::runtime_error when the folder cannot be made.
  void RegistraScambi(const std::filesystem::path& cartella);

  // Stops both listeners, waking answers that wait for a delay; idempotent.
  void Ferma();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace qzkiro::sandbox
