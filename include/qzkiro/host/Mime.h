#pragma once

#include <memory>
#include <string>
#include <vector>

#include "qzkiro/host/Object.h"

/// \file
/// The host's MIME parser and the parts it reads.

namespace qzkiro::host {

/// One part of a MIME message read by the host's parser.
class IMimeParte : public Object {
 public:
  /// The part's file name: the "filename" of Content-Disposition, else the
  /// "name" of Content-Type; "" when neither is given.
  virtual std::string FileName() = 0;
  /// The "name" of Content-Type, else the file name.
  virtual std::string Name() = 0;
  /// The media type of Content-Type ("application/pdf"), without parameters.
  virtual std::string ContentType() = 0;
  /// The body with its transfer encoding undone (Base64, quoted-printable,
  /// 7bit/8bit/binary as they are), as bytes one per character.
  virtual std::string Decode() = 0;
  /// Writes the decoded body into `cartella` under `nome`, or under the part's
  /// file name when `nome` is empty; false when it could not be written (or
  /// the name would leave the folder).
  virtual bool ExtractFile(const std::string& cartella, const std::string& nome = {}) = 0;
};

/// The host's MIME parser: a message read from text or from a file, with its
/// parts in order (a single-part message has one part; nested multiparts are
/// flattened into their leaf parts).
class IMime : public Object {
 public:
  /// Reads the message `testo`. `prefisso` is put before the boundary of
  /// Content-Type to find the delimiter lines ("--" in every message that
  /// follows the standard). False when the text is not a MIME message.
  virtual bool InitStr(const std::string& testo, const std::string& prefisso = "--") = 0;
  /// Reads the message in `file`; false when it cannot be read or is not a
  /// MIME message.
  virtual bool InitFile(const std::string& file) = 0;
  /// The message's parts, in order.
  virtual std::vector<std::shared_ptr<IMimeParte>> Items() = 0;
};

}  // namespace qzkiro::host
