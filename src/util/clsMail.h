#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qzkiro::util {

// Sends e-mail over SMTP and downloads a POP3 mailbox, with libcurl.
//
// Every Boolean member answers false with an Italian message in SendError.
// Nothing stays open between calls: each SendEmail or ReceiveEmail opens and
// closes its own connection. Abort may be called from another thread while
// SendEmail or ReceiveEmail runs; every other member belongs to one thread at
// a time.
//
// Servers are written "host", "host:port" or as a URL ("smtps://host:465",
// "pop3s://host"); without a scheme the connection is plain and switches to
// TLS with STARTTLS/STLS when the server offers it. The peer's certificate is
// verified (against CaBundle when given). With a user name the client logs in
// with the strongest mechanism both sides support, and only over TLS: a
// server that offers none gets no credentials, unless PasswordSenzaTLS says
// that plain transport is wanted.
class clsMail {
 public:
  // titolo: what happened ("Connessione POP3", "numMsg = 3", ...), or the
  // member that failed; dettaglio: the server, or the Italian message with
  // libcurl's own description and the server's last reply; errore: a failure.
  using FunzioneLog =
      std::function<void(const std::string& titolo, const std::string& dettaglio, bool errore)>;

  clsMail();
  ~clsMail();
  clsMail(const clsMail&) = delete;
  clsMail& operator=(const clsMail&) = delete;

  std::string MailServerSMTP;
  std::string MailServerSMTPUser;
  std::string MailServerSMTPPass;
  std::string MailFrom;       // the sender's display name (may be empty)
  std::string MailFromEMail;  // the sender's address
  std::string MailObject;     // subject
  std::string MailMessage;    // body: plain text, or HTML after EnableHTML
  std::string MailServerPOP;
  std::string MailServerPOPUser;
  std::string MailServerPOPPass;
  bool EliminaDopoRicezione = false;
  std::string SendError;  // "" after a success
  // Outcome of the last SendEmail/ReceiveEmail: "Messaggio inviato",
  // "Messaggi ricevuti: N" or "Errore". Set when the call ends.
  std::string Status;

  // Connection settings. Proxy: unset = libcurl's own choice (the
  // all_proxy/no_proxy environment variables); "" = never a proxy; otherwise
  // the proxy URL, tunnelled with CONNECT.
  std::optional<std::string> Proxy;
  std::string CaBundle;     // "" = the system's CA store
  std::string DominioEHLO;  // "" = this machine's host name
  std::chrono::seconds TimeoutConnessione{30};
  std::chrono::seconds TimeoutOperazione{600};  // a whole exchange, attachments included
  // Plain transport asked for explicitly: the login may then go over a
  // connection without TLS. Otherwise (the default) a server that offers no
  // TLS ends the call before any credential is sent.
  bool PasswordSenzaTLS = false;

  // What the add-on wires in. All optional.
  FunzioneLog Log;
  // Simulator mode when not empty: ReceiveEmail takes the messages from the
  // files Email/email*.xml below this folder (in name order) instead of the
  // POP3 server, and leaves the files where they are.
  std::string CartellaSimulatore;
  // Where ReceiveEmail writes Temp.txt; "" = the system's temporary folder.
  std::string TempDir;
  // Called by ReceiveEmail for each message with the path of Temp.txt, which
  // holds the message while the call lasts and is overwritten by the next.
  std::function<void(const std::string& file)> SuMessaggioRicevuto;
  // The messages downloaded by the last ReceiveEmail, in order, as received.
  std::vector<std::string> MessaggiRicevuti;
  // The clock for the Date header; empty = the system clock.
  std::function<std::chrono::system_clock::time_point()> Orologio;

  // Forgets recipients, attachments and the last error.
  void Clear();
  void AddDestination(const std::string& EmailDestination);
  void AddAttachment(const std::string& FileName);
  void EnableHTML(bool attivo = true) { html_ = attivo; }
  bool HTMLAbilitato() const { return html_; }
  const std::vector<std::string>& Destinatari() const { return destinatari_; }
  const std::vector<std::string>& Allegati() const { return allegati_; }

  // Checks, in this order, and stops at the first failure: "Server SMTP non
  // specificato", "EMail del mittente non specificata", "Errore nel formato
  // della EMail del mittente", "Nessun destinatario specificato", "Errore nel
  // formato del destinatario " + the address, "Impossibile leggere
  // l'allegato " + the path. Then sends one multipart/mixed message (the body,
  // then the attachments, every part Base64) to all the recipients at once.
  // Failures then: "Errore durante la connessione al server SMTP" (before the
  // server accepted the sender: no connection, greeting, TLS or login; for a
  // login refused because the server offers no TLS, a second line says so),
  // "Respinto" (a recipient refused: nobody gets the message), "Operazione
  // annullata dall'utente", otherwise "Errore " + the libcurl code.
  bool SendEmail();
  // Logs "Connessione POP3", counts the messages ("numMsg = N"), downloads
  // each ("Read Message N: Code = C", C the libcurl code) into Temp.txt,
  // appends it to MessaggiRicevuti, calls SuMessaggioRicevuto, and then, when
  // EliminaDopoRicezione is set, deletes it ("Delete Message N"). Failures:
  // "Server POP3 non specificato", "Errore durante la connessione al server
  // POP3" (no connection, or the login refused; as for SendEmail when the
  // server offers no TLS), "Operazione annullata
  // dall'utente", and for anything later "Errore bloccante Codice " + the
  // libcurl code, which ends the loop. Deletions take effect when the session
  // ends with QUIT; after a broken connection the server keeps the messages.
  bool ReceiveEmail();
  // Makes the running SendEmail/ReceiveEmail end with
  // "Operazione annullata dall'utente" (within about a second). Thread-safe.
  void Abort() { annulla_ = true; }
  // Clear, and forgets the status as well.
  void MailRelease();

 private:
  bool Fallisce(const std::string& operazione, const std::string& messaggio,
                const std::string& dettaglio = {});
  void Registra(const std::string& titolo, const std::string& dettaglio, bool errore) const;
  bool Consegna(const std::string& file, std::string messaggio);
  bool RiceviDaSimulatore(const std::string& file);

  std::vector<std::string> destinatari_;
  std::vector<std::string> allegati_;
  bool html_ = false;
  std::atomic<bool> annulla_{false};
};

// local@domain.tld: one '@', no blanks or control characters, a local part of
// RFC 5322 "atext" characters and single dots, a domain of at least two
// letter-digit-hyphen labels ending with an alphabetic top-level label.
bool IndirizzoEmailValido(std::string_view indirizzo);

}  // namespace qzkiro::util
