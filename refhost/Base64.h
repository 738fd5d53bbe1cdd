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

  // Bytes to Base64 (one line) and back; Decodifica ignores line breaks and
  // spaces and throws Failure on anything else that is not Base64.
  static std::string Codifica(const std::string& bytes);
  static std::string Decodifica(const std::string& base64);
};

}  // namespace qzkiro::refhost
