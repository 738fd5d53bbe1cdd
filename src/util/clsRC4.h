#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "util/File.h"

namespace qzkiro::util {

// Number of the failure raised when the file to encipher or decipher does not
// exist: the host's own "file not found" run-time error.
inline constexpr long kRC4FileNonTrovato = 53;
// Number of the failure raised when an existing source cannot be read or the
// destination cannot be written: the host's "path/file access error".
inline constexpr long kRC4AccessoFile = 75;

// The bare RC4 keystream over a key given as raw bytes. Each Applica call
// continues the keystream where the previous one stopped, so a caller may
// encipher a long stream piece by piece. An empty key is scheduled as a single
// zero byte, so that every key gives a defined stream.
class Rc4Keystream {
 public:
  explicit Rc4Keystream(std::span<const std::uint8_t> key);
  explicit Rc4Keystream(std::string_view key_bytes);

  // XORs every byte of `data` with the next keystream byte.
  void Applica(std::span<std::uint8_t> data);

 private:
  std::array<std::uint8_t, 256> s_{};
  std::uint8_t i_ = 0;
  std::uint8_t j_ = 0;
};

// RC4 under a text key. The key's bytes are its characters in ISO-8859-1, one
// byte per character; texts are enciphered the same way, and the enciphered
// bytes come back as text one character per byte (each byte a character
// U+0000..U+00FF, held as UTF-8), so a text result deciphers to the original.
//
// Every call starts from the beginning of the key's keystream: the key schedule
// is kept and rebuilt only when the key changes, but no keystream position is
// carried from one call to the next. So one object enciphers and then deciphers
// with the same key, and two calls with the same key give the same result.
//
// An optional `key` argument left empty means "use the current key".
class clsRC4 {
 public:
  clsRC4();

  void SetKey(std::string_view new_value);
  const std::string& Key() const { return key_; }

  void EncryptByte(Bytes& bytes, std::string_view key = {});
  void DecryptByte(Bytes& bytes, std::string_view key = {});

  std::string EncryptString(std::string_view text, std::string_view key = {});
  std::string DecryptString(std::string_view text, std::string_view key = {});
  // Enciphers `bytes` and returns them as text, one character per byte.
  std::string EncryptByteString(Bytes bytes, std::string_view key = {});

  // Read the whole source, transform it and write the destination (deleted
  // first when present). A missing source raises Failure kRC4FileNonTrovato;
  // a source or destination that cannot be read or written, kRC4AccessoFile.
  void EncryptFile(const std::string& source, const std::string& destination,
                   std::string_view key = {});
  void DecryptFile(const std::string& source, const std::string& destination,
                   std::string_view key = {});

 private:
  void Trasforma(std::span<std::uint8_t> data, std::string_view key);
  std::string TrasformaTesto(std::string_view text, std::string_view key);
  void TrasformaFile(const std::string& source, const std::string& destination,
                     std::string_view key);

  std::string key_;
  // The keystream just after the key schedule of key_, copied for each call.
  Rc4Keystream scheduled_;
};

}  // namespace qzkiro::util
