#pragma once

#include <string>
#include <utility>
#include <vector>

namespace qzkiro::net {

// One HTTP exchange over libcurl, as the transports configure it.
struct RichiestaHttp {
  std::string url;
  std::string metodo = "POST";  // "GET", "POST" or "PUT"
  std::vector<std::pair<std::string, std::string>> intestazioni;
  std::string corpo;

  // Proxy: the system's (the environment's proxy variables), or an explicit
  // one; with neither, no proxy is used whatever the environment says.
  bool proxy_sistema = false;
  std::string proxy_host;
  int proxy_porta = 0;
  std::string proxy_utente;
  std::string proxy_password;

  std::string utente;  // HTTP authentication, when set
  std::string password;
  long timeout_connessione_ms = 30000;
  long timeout_totale_ms = 0;  // 0: none
  // The exchange fails when no byte arrives for this long (0: no limit).
  long timeout_lettura_ms = 0;
  std::string certificato_p12;  // client certificate (PKCS#12) and its password
  std::string password_p12;
  std::string certificato_pem;  // or a client certificate and its key in PEM files
  std::string chiave_pem;
  std::string password_chiave;
  // The peer is verified against this CA bundle (the system's when empty),
  // unless `verifica_server` is false.
  std::string ca_bundle;
  bool verifica_server = true;
  std::string file_traccia;  // headers and bodies of the exchange are appended here
};

struct RispostaHttp {
  bool ricevuta = false;  // false: no answer at all (see `errore`)
  long stato = 0;
  std::string testo_stato;  // the reason phrase of the status line
  std::string corpo;
  std::string errore;  // libcurl's description of a failure
  int codice_curl = 0;
};

// Runs the exchange; never throws.
RispostaHttp Esegui(const RichiestaHttp& richiesta);

// The CA bundle of the process: $QZKIRO_CA_BUNDLE when set, else "" (the
// system's certificate store).
std::string CaBundlePredefinito();

}  // namespace qzkiro::net
