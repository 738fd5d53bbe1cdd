// Reads any bytes as a CSV file, with and without line-break removal, and
// writes every record back as a line.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include "util/clsCSV.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string file = "/tmp/qzkiro-fuzz-" + std::to_string(getpid()) + ".csv";
  std::ofstream(file, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  for (bool remove_crlf : {false, true}) {
    qzkiro::util::clsCSV csv;
    csv.RemoveCRLF = remove_crlf;
    csv.Init(file);
    for (const auto& record : csv.Records()) csv.ToCSV(record, ";", "\"");
  }
  return 0;
}
