#pragma once

#include <chrono>
#include <string>

namespace qzkiro::net {

// Writes one file to an SSH file-transfer (SFTP) server with libcurl, with
// password authentication, over a direct connection or an HTTP proxy tunnel
// (CONNECT).
//
// The server must prove it holds the expected host key: its SHA-256
// fingerprint is compared with ImprontaSHA256 before any credential is sent.
// A fingerprint pinned in the settings serves a unit that runs one server
// better than a known_hosts file: it needs no file beside the add-on, and it
// does not depend on the name under which the server is reached (the same
// through a proxy). Without a fingerprint nothing is sent: a host key is
// never accepted unseen.
//
// Carica answers false with an Italian message in LastError; true only when
// every byte of the file was written and the server acknowledged it, so an
// upload cut short (connection dropped, disk full, a refused write) is a
// failure.
class clsSFTP {
 public:
  std::string Host;  // name or address of the server
  long Porta = 22;
  std::string Utente;
  std::string Password;
  // Base64 SHA-256 of the server's host key, as "ssh-keygen -l -E sha256"
  // prints it without the "SHA256:" prefix (padding optional).
  std::string ImprontaSHA256;
  // HTTP proxy: none when ProxyHost is empty (and no proxy of the
  // environment either); credentials only when ProxyUtente is set.
  std::string ProxyHost;
  long ProxyPorta = 0;
  std::string ProxyUtente;
  std::string ProxyPassword;
  std::chrono::milliseconds TimeoutConnessione{30000};
  std::chrono::milliseconds TimeoutTotale{300000};
  // The longest stretch without progress before the upload is given up.
  std::chrono::seconds TimeoutInattivita{60};

  // Creates or truncates `percorso` (relative to the folder the server
  // opens at login, "upload/file.xml") and writes `dati`, bytes as given.
  bool Carica(const std::string& percorso, const std::string& dati);

  const std::string& LastError() const { return last_error_; }
  // libcurl's code of the last failure (0 after a success).
  int CodiceErrore() const { return codice_; }

 private:
  std::string last_error_;
  int codice_ = 0;
};

// The Italian message of a failed SFTP exchange with `server` ("host:port"),
// from libcurl's code and its own description (added in brackets).
std::string MessaggioErroreSFTP(int codice_curl, const std::string& dettaglio,
                                const std::string& server);

}  // namespace qzkiro::net
