#pragma once

#include <string>

#include "qzkiro/host/Base64.h"

namespace qzkiro::refhost {

// The host's Base64 object: texts travel as ISO-8859-1 bytes.
class Base64 : public host::IBase64 {
 public:
  std::string Encode(const std::string& text) override;
  // Throws Failure on text that is not Base64.
  std::string Decode(const std::string& base64) override;
  // The bytes go to the file as they are; false when it cannot be written
  // (or, for DecodeFileToFile, the Base64 file cannot be read). Text that is
  // not Base64 throws Failure, as in Decode, and writes nothing.
  bool DecodeFile(const std::string& base64, const std::string& file) override;
  bool DecodeFileToFile(const std::string& sorgente, const std::string& destinazione) override;

  // Bytes to Base64 (one line) and back; Decodifica ignores line breaks and
  // spaces and throws Failure on anything else that is not Base64.
  static std::string Codifica(const std::string& bytes);
  static std::string Decodifica(const std::string& base64);
};

}  // namespace qzkiro::refhost
