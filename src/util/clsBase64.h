#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "util/File.h"

namespace qzkiro::util {

// Turns texts, files and zipped payloads into Base64 or hexadecimal text and
// back.
//
// Base64: standard alphabet with "=" padding, one unbroken line (the L64
// members break it into lines of 64 characters joined by CR LF). The decoder
// skips CR, LF, blanks and tabs and rejects anything else outside the
// alphabet. Texts are encoded as their ISO-8859-1 bytes (a character outside
// Latin-1 becomes '?') and decoded bytes are read back as ISO-8859-1.
// Hex: two upper-case digits per byte, no separators.
//
// Plain encoders and decoders answer "" (or false) on bad input or a missing
// file and leave no error text. The zip members run a fresh clsZip per call
// and copy its LastError on failure; LastError is not cleared by a success.
class clsBase64 {
 public:
  std::string Encode(const std::string& strIn) const;
  std::string EncodeL64(const std::string& strIn) const;
  std::string Decode(const std::string& strIn) const;

  std::string EncodeFile(const std::string& NomeFile) const;
  std::string EncodeFromFile(const std::string& NomeFile) const { return EncodeFile(NomeFile); }
  std::string EncodeFileL64(const std::string& NomeFile) const;
  // Writes the decoded bytes to `NomeFileDest` (deleted first).
  bool DecodeFile(const std::string& B64, const std::string& NomeFileDest) const;
  // Decodes the Base64 text held in the file `NomeFile`.
  bool DecodeFileToFile(const std::string& NomeFile, const std::string& NomeFileDest) const;

  std::string Base64ToHex(const std::string& B64) const;
  static std::string ToHex(const Bytes& dati);
  std::string EncodeFileHex(const std::string& NomeFile) const;
  bool DecodeFileHex(const std::string& strHex, const std::string& NomeFileDest) const;

  // `strIn` zipped in memory as the entry "temp.txt" (UTF-8), as Base64.
  std::string EncodeZipString(const std::string& strIn, const std::string& Password = "");
  std::string EncodeZipFile(const std::string& NomeFile, const std::string& Password = "");
  std::string EncodeZipFileHex(const std::string& NomeFile, const std::string& Password = "");
  // Text of the first entry of the zip carried in `B64`.
  std::string DecodeZipString(const std::string& B64, const std::string& Password = "");
  std::string DecodeZipStringHex(const std::string& strHex, const std::string& Password = "");
  // Extracts every entry into `DestPath`; fails when the archive holds no file.
  bool DecodeZipFile(const std::string& B64, const std::string& DestPath,
                     std::vector<std::string>& ListaFiles, const std::string& Password = "");
  bool DecodeZipFileHex(const std::string& strHex, const std::string& DestPath,
                        std::vector<std::string>& ListaFiles, const std::string& Password = "");
  // Extracts into `TempDir`, then copies the first extracted file to
  // `NomeFileDest` unless it already has that path (letter case ignored).
  bool DecodeSingleZipFile(const std::string& B64, const std::string& NomeFileDest,
                           const std::string& TempDir, const std::string& Password = "");

  // One-part MIME multipart body carrying `XML` (as ISO-8859-1) in Base64.
  std::string EncodeMimeXML(const std::string& XML) const;

  const std::string& LastError() const { return last_error_; }

  // Raw bytes to one-line Base64, and back (nullopt on invalid text).
  static std::string EncodeBytes(const Bytes& dati);
  // Appends the Base64 of a file's bytes to `out` (one line), without an
  // intermediate copy; false when the file cannot be read.
  static bool AppendFile(std::string& out, const std::string& NomeFile);
  static std::optional<Bytes> DecodeBytes(std::string_view b64);
  // Hex text (either letter case) to bytes; nullopt on invalid text.
  static std::optional<Bytes> FromHex(std::string_view hex);
  // Lines of 64 characters joined by CR LF, never a trailing CR LF.
  static std::string WrapLines64(std::string_view testo);

 private:
  // Shared steps of the zip members; `zip` is nullopt when its text was not
  // valid, and `formato` names that text in the message.
  std::optional<Bytes> ZipDelFile(const std::string& NomeFile, const std::string& Password);
  std::string TestoZip(const std::optional<Bytes>& zip, std::string_view formato,
                       const std::string& Password);
  bool EstraiZip(const std::optional<Bytes>& zip, std::string_view formato,
                 const std::string& DestPath, std::vector<std::string>& ListaFiles,
                 const std::string& Password);

  std::string last_error_;
};

}  // namespace qzkiro::util
