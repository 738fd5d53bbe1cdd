// Reads any bytes as a MIME message with the stand-in host's parser, with the
// standard delimiter prefix and with none, then decodes every part and reads
// its names. A part's body is a slice of the message, and decoding never
// makes it longer.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "qzkiro/Failure.h"
#include "refhost/Mime.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string testo(reinterpret_cast<const char*>(data), size);
  for (const char* prefisso : {"--", ""}) {
    qzkiro::refhost::Mime mime;
    if (!mime.InitStr(testo, prefisso)) return 0;
    for (const auto& parte : mime.Parti()) {
      if (testo.find(parte->Corpo()) == std::string::npos) std::abort();
      parte->FileName();
      parte->Name();
      parte->ContentType();
      try {
        if (parte->Decode().size() > parte->Corpo().size()) std::abort();
      } catch (const qzkiro::Failure&) {
      }
    }
  }
  return 0;
}
