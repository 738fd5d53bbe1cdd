#pragma once

#include <string>

namespace qzkiro::host {

// The host's Base64 object. Texts are encoded one byte per character
// (ISO-8859-1), as the host does.
class IBase64 {
 public:
  virtual ~IBase64() = default;
  virtual std::string Encode(const std::string& text) = 0;
  virtual std::string Decode(const std::string& base64) = 0;
};

}  // namespace qzkiro::host
