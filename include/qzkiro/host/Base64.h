#pragma once

#include <string>

#include "qzkiro/Failure.h"

/// \file
/// The host's Base64 encoder.

namespace qzkiro::host {

/// The host's Base64 object. Texts are encoded one byte per character
/// (ISO-8859-1), as the host does.
class IBase64 {
 public:
  virtual ~IBase64() = default;
  /// The Base64 form of `text` (UTF-8), encoded from its ISO-8859-1 bytes.
  virtual std::string Encode(const std::string& text) = 0;
  /// The text Base64 `base64` stands for, its bytes read as ISO-8859-1.
  virtual std::string Decode(const std::string& base64) = 0;
  /// Decodes Base64 text into a file; false when it cannot be written.
  virtual bool DecodeFile(const std::string& base64, const std::string& file) {
    return NonSupportato("DecodeFile", base64 + file);
  }
  /// Decodes the Base64 text of file `sorgente` into file `destinazione`;
  /// false when it cannot be done.
  virtual bool DecodeFileToFile(const std::string& sorgente, const std::string& destinazione) {
    return NonSupportato("DecodeFileToFile", sorgente + destinazione);
  }

 private:
  static bool NonSupportato(const char* membro, const std::string&) {
    throw Failure(kMembroNonSupportato,
                  std::string("L'oggetto Base64 non supporta la proprietà o il metodo ") + membro);
  }
};

}  // namespace qzkiro::host
