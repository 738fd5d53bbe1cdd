// Decodes any bytes as Base64 and as hex; whatever decodes must encode back to
// text that decodes to the same bytes.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "util/clsBase64.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using qzkiro::util::clsBase64;
  const std::string testo(reinterpret_cast<const char*>(data), size);
  if (auto bytes = clsBase64::DecodeBytes(testo)) {
    if (clsBase64::DecodeBytes(clsBase64::WrapLines64(clsBase64::EncodeBytes(*bytes))) != bytes) {
      std::abort();
    }
  }
  if (auto bytes = clsBase64::FromHex(testo)) {
    if (clsBase64::FromHex(clsBase64::ToHex(*bytes)) != bytes) std::abort();
  }
  clsBase64 codec;
  codec.Decode(testo);
  codec.Base64ToHex(testo);
  return 0;
}
