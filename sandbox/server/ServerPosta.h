#pragma once

#include "sandbox/server/Processo.h"

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace qzkiro::sandbox {

// Real mail servers on loopback for one process (a test program, the demo,
// kiro-sandbox --posta): aiosmtpd for SMTP and
// dovecot for POP3, both on free ports chosen at run time, sharing one
// Maildir, so that what is sent can be received. They run under the mailbox's
// account (nobody when we run as root, otherwise the current user) and
// are stopped, with every process they started, by the destructor.
//
// SMTP: any sender; recipients whose address starts with "respinto" are
// refused with 550; no STARTTLS; AUTH PLAIN/LOGIN without TLS accepts only
// kUtente and kPassword and is optional. Each delivered message is stored exactly as
// received, after a first line "X-RcptTo: " + the envelope recipients.
// POP3: user kUtente, password kPassword, no TLS.
//
// The constructor throws std::runtime_error, with the server's log, when a
// server does not start within a few seconds.
class ServerPosta {
 public:
  static constexpr const char* kUtente = "posta";
  static constexpr const char* kPassword = "segreta";

  ServerPosta();
  ~ServerPosta();
  ServerPosta(const ServerPosta&) = delete;
  ServerPosta& operator=(const ServerPosta&) = delete;

  std::string IndirizzoSmtp() const;  // "127.0.0.1:port"
  std::string IndirizzoPop3() const;
  const std::filesystem::path& Maildir() const { return maildir_; }

  // The texts of the messages in the Maildir (new and cur), oldest first.
  std::vector<std::string> Messaggi() const;
  // The user name of every AUTH the SMTP server has received, in order,
  // whether it was accepted or not: what reached it of the credentials.
  std::vector<std::string> AccessiSmtp() const;
  // Places a message in the Maildir as a delivery would; they are numbered
  // on the POP3 side in the order they were placed.
  void Deposita(const std::string& testo);
  // Removes every message and forgets the AUTHs received.
  void Svuota() const;

 private:
  void AvviaSmtp();
  void AttendiSmtp();
  void AvviaPop3();

  std::filesystem::path cartella_;
  std::filesystem::path maildir_;
  Account account_;
  pid_t smtp_ = -1;
  pid_t pop3_ = -1;
  int porta_smtp_ = 0;
  int uscita_smtp_ = -1;  // while it starts: the pipe on which it says its port
  int porta_pop3_ = 0;
  int depositati_ = 0;
};

// Reading back a delivered message (or one of its parts), whose lines end
// with CR LF. Intestazione: the header's value, unfolded, with RFC 2047
// UTF-8 words decoded; "" when absent. Parti: the parts of a multipart
// message, each with its own headers. ContenutoBase64: a part's body decoded.
std::string Intestazione(const std::string& testo, const std::string& nome);
std::vector<std::string> Parti(const std::string& messaggio);
std::string ContenutoBase64(const std::string& parte);

// A loopback listener that accepts connections and never says a word: a
// server that stalls.
class ServerMuto {
 public:
  ServerMuto();
  ~ServerMuto();
  ServerMuto(const ServerMuto&) = delete;
  ServerMuto& operator=(const ServerMuto&) = delete;

  std::string Indirizzo() const;  // "127.0.0.1:port"
  // Waits for a client to connect and keeps its connection open; false when
  // nobody came within `attesa`.
  bool AttendiCliente(std::chrono::milliseconds attesa);

 private:
  int ascolto_ = -1;
  int porta_ = 0;
  std::vector<int> clienti_;
};

// "127.0.0.1:port" of a loopback port on which nothing listens.
std::string IndirizzoChiuso();

}  // namespace qzkiro::sandbox
