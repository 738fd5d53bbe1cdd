#include "util/clsRC4.h"

#include <filesystem>
#include <numeric>
#include <utility>

#include "qzkiro/Failure.h"
#include "util/Testo.h"

namespace qzkiro::util {

namespace {

constexpr std::uint8_t kChiaveVuota[] = {0};

std::span<const std::uint8_t> ComeSpan(std::string_view bytes) {
  return {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()};
}

}  // namespace

Rc4Keystream::Rc4Keystream(std::span<const std::uint8_t> key) {
  if (key.empty()) key = kChiaveVuota;
  std::iota(s_.begin(), s_.end(), std::uint8_t{0});
  // Key schedule: the key's bytes repeated cyclically over the 256 positions.
  std::uint8_t j = 0;
  for (std::size_t i = 0; i < s_.size(); ++i) {
    j = static_cast<std::uint8_t>(j + s_[i] + key[i % key.size()]);
    std::swap(s_[i], s_[j]);
  }
}

Rc4Keystream::Rc4Keystream(std::string_view key_bytes) : Rc4Keystream(ComeSpan(key_bytes)) {}

void Rc4Keystream::Applica(std::span<std::uint8_t> data) {
  // Local copies of the counters let the compiler keep them in registers over
  // large buffers.
  std::uint8_t i = i_;
  std::uint8_t j = j_;
  for (auto& byte : data) {
    i = static_cast<std::uint8_t>(i + 1);
    j = static_cast<std::uint8_t>(j + s_[i]);
    std::swap(s_[i], s_[j]);
    byte ^= s_[static_cast<std::uint8_t>(s_[i] + s_[j])];
  }
  i_ = i;
  j_ = j;
}

clsRC4::clsRC4() : scheduled_(std::string_view{}) {}

void clsRC4::SetKey(std::string_view new_value) {
  if (new_value == key_) return;
  key_ = std::string(new_value);
  scheduled_ = Rc4Keystream(Utf8ToLatin1(key_));
}

void clsRC4::Trasforma(std::span<std::uint8_t> data, std::string_view key) {
  if (!key.empty()) SetKey(key);
  Rc4Keystream stream = scheduled_;
  stream.Applica(data);
}

void clsRC4::EncryptByte(Bytes& bytes, std::string_view key) {
  Trasforma(bytes, key);
}

// RC4 is its own inverse.
void clsRC4::DecryptByte(Bytes& bytes, std::string_view key) {
  Trasforma(bytes, key);
}

std::string clsRC4::TrasformaTesto(std::string_view text, std::string_view key) {
  std::string latin1 = Utf8ToLatin1(text);
  Trasforma({reinterpret_cast<std::uint8_t*>(latin1.data()), latin1.size()}, key);
  return Latin1ToUtf8(latin1);
}

std::string clsRC4::EncryptString(std::string_view text, std::string_view key) {
  return TrasformaTesto(text, key);
}

// An empty text gives "", as the transformation keeps the length.
std::string clsRC4::DecryptString(std::string_view text, std::string_view key) {
  return TrasformaTesto(text, key);
}

std::string clsRC4::EncryptByteString(Bytes bytes, std::string_view key) {
  Trasforma(bytes, key);
  return Latin1ToUtf8(ComeTesto(bytes));
}

void clsRC4::TrasformaFile(const std::string& source, const std::string& destination,
                           std::string_view key) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(source, error)) {
    throw Failure(kRC4FileNonTrovato,
                  "Error in Skipjack EncryptFile procedure (Source file does not exist).");
  }
  auto dati = LeggiFile(source);
  if (!dati) throw Failure(kRC4AccessoFile, "Impossibile leggere il file " + source);
  Trasforma(*dati, key);
  if (!ScriviFile(destination, *dati)) {
    throw Failure(kRC4AccessoFile, "Impossibile scrivere il file " + destination);
  }
}

void clsRC4::EncryptFile(const std::string& source, const std::string& destination,
                         std::string_view key) {
  TrasformaFile(source, destination, key);
}

void clsRC4::DecryptFile(const std::string& source, const std::string& destination,
                         std::string_view key) {
  TrasformaFile(source, destination, key);
}

}  // namespace qzkiro::util
