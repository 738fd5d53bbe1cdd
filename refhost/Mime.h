#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "qzkiro/host/Mime.h"
#include "refhost/IntestazioniMime.h"

namespace qzkiro::refhost {

// One leaf part of a MIME message: its own header block and its body as
// written (bytes one per character). The parts of a message share its text:
// a message of many megabytes is held once, not once more per part.
class MimeParte : public host::IMimeParte {
 public:
  MimeParte(IntestazioniMime intestazioni, std::shared_ptr<const std::string> testo,
            std::string_view corpo);

  // Names come out in UTF-8, their encoded words and extended forms decoded.
  std::string FileName() override;
  std::string Name() override;
  // In lower case; "text/plain" when the part has no Content-Type.
  std::string ContentType() override;
  // Base64 and quoted-printable undone, every other transfer encoding as it
  // is. Throws Failure when a Base64 body is not Base64: a damaged document
  // is reported, never handed on in pieces.
  std::string Decode() override;
  // Also false when the body cannot be decoded, and for a name that is
  // empty, "." or "..", or holds a path separator ("/", "\").
  bool ExtractFile(const std::string& cartella, const std::string& nome = {}) override;

  // The body before its transfer decoding.
  std::string_view Corpo() const { return corpo_; }

 private:
  IntestazioniMime intestazioni_;
  std::shared_ptr<const std::string> testo_;
  std::string_view corpo_;  // within *testo_
};

// The host's MIME parser. A message is a header block (CR LF or LF line ends)
// and a body; a multipart body is cut at the lines made of the delimiter
// (prefix + boundary, "--" after it on the closing line), its preamble and
// epilogue left out, and nested multiparts give their leaf parts in order.
// A multipart without its closing line keeps the parts found, the last one
// running to the end of the text. Any other message is one part.
class Mime : public host::IMime {
 public:
  // False for a text that does not begin with a header block (leading white
  // space aside), such as plain XML or "".
  bool InitStr(const std::string& testo, const std::string& prefisso = "--") override;
  // False as well when the file cannot be read.
  bool InitFile(const std::string& file) override;
  std::vector<std::shared_ptr<host::IMimeParte>> Items() override;

  const std::vector<std::shared_ptr<MimeParte>>& Parti() const { return parti_; }

 private:
  void Aggiungi(IntestazioniMime intestazioni, std::string_view corpo, int profondita);
  bool Leggi(std::shared_ptr<const std::string> testo, const std::string& prefisso);

  std::shared_ptr<const std::string> testo_;

  std::string prefisso_;
  std::vector<std::shared_ptr<MimeParte>> parti_;
};

// The contents between the delimiter lines of a multipart body; each line
// end before a delimiter line belongs to the delimiter.
std::vector<std::string_view> DividiMultipart(std::string_view corpo,
                                              std::string_view delimitatore);

}  // namespace qzkiro::refhost
