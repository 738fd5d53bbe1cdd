#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "sandbox/Sandbox.h"

namespace qzkiro::sandbox {

// The relay web service that mails the home blood-sample requests to the
// local units, below `radice` ("/relay"), over TLS only (403 over plain HTTP):
//
//   POST <radice>/qzupload.php     "multipart/form-data" with exactly one
//                                  part, the file field "userfile" (a plain
//                                  file name, a zip archive); the file is
//                                  kept under that name
//   GET  <radice>/qzsendemail.php  ?append=<kept file>&to=<address>
//                                  &from=<address>&subject=...&message=...
//                                  (exactly these keys, each once, values
//                                  percent-encoded); mails the kept file as
//                                  an attachment from `from` to `to` through
//                                  the SMTP server
//
// Both answer "OK" when done. A request they refuse gets 400 (403, 404) and
// "ERRORE: " with the reason; a mail the SMTP server did not take gets 200 and
// "ERRORE: invio non riuscito: " with the mail client's message, as the
// service's scripts do. Faults are scripted on the sandbox (Guasto) for the
// two exact paths.
//
// The routes keep working after this object is gone; the kept files live in
// a temporary folder removed when the last route goes.
class RelayPosta {
 public:
  // One mail the relay sent.
  struct EmailInoltrata {
    std::string file, to, from, subject, message;
  };

  // `smtp`: "host:port" of the SMTP server; "" leaves mail requests refused
  // until ImpostaSmtp. Throws std::runtime_error when the folder cannot be made.
  explicit RelayPosta(Sandbox& sandbox, std::string smtp = {}, std::string radice = "/relay");

  const std::string& Radice() const { return stato_->radice; }
  std::string PercorsoUpload() const { return stato_->radice + "/qzupload.php"; }
  std::string PercorsoInvio() const { return stato_->radice + "/qzsendemail.php"; }
  void ImpostaSmtp(std::string smtp);

  // The files kept, by name; and the mails sent, in order.
  std::map<std::string, std::string> FileRicevuti() const;
  std::vector<EmailInoltrata> Inoltrate() const;

 private:
  struct Stato {
    ~Stato();
    std::string radice;
    std::filesystem::path cartella;
    mutable std::mutex mutex;
    std::string smtp;
    std::map<std::string, std::string> file;
    std::vector<EmailInoltrata> inoltrate;
  };
  static Risposta Upload(Stato& stato, const Richiesta& richiesta);
  static Risposta InviaEmail(Stato& stato, const Richiesta& richiesta);

  std::shared_ptr<Stato> stato_;
};

}  // namespace qzkiro::sandbox
