// Reads the embedded files of any bytes taken as a PDF. Damaged structure,
// reference cycles and deflate bombs must end in a short list, never in a
// crash, a hang or an attachment beyond the decoding bound.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "cda/AllegatiPdf.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view pdf(reinterpret_cast<const char*>(data), size);
  for (const auto& allegato : qzkiro::cda::AllegatiPdf(pdf)) {
    if (allegato.contenuto.size() > (256u << 20)) std::abort();
  }
  return 0;
}
