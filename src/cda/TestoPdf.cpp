#include "cda/TestoPdf.h"

#include <array>

#include "util/Testo.h"

namespace qzkiro::cda::pdf {

namespace {

// PDFDocEncoding differs from ISO-8859-1 in 0x18-0x1F and 0x80-0xA0.
constexpr std::array<char16_t, 8> kDa18 = {0x02D8, 0x02C7, 0x02C6, 0x02D9,
                                           0x02DD, 0x02DB, 0x02DA, 0x02DC};
constexpr std::array<char16_t, 33> kDa80 = {
    0x2022, 0x2020, 0x2021, 0x2026, 0x2014, 0x2013, 0x0192, 0x2044, 0x2039, 0x203A, 0x2212,
    0x2030, 0x201E, 0x201C, 0x201D, 0x2018, 0x2019, 0x201A, 0x2122, 0xFB01, 0xFB02, 0x0141,
    0x0152, 0x0160, 0x0178, 0x017D, 0x0131, 0x0142, 0x0153, 0x0161, 0x017E, 0xFFFD, 0x20AC};

std::string DaUtf16(std::string_view byte) {
  std::string uscita;
  for (std::size_t i = 0; i + 1 < byte.size(); i += 2) {
    char32_t c = static_cast<unsigned char>(byte[i]) << 8 | static_cast<unsigned char>(byte[i + 1]);
    if (c >= 0xD800 && c < 0xDC00 && i + 3 < byte.size()) {
      const char32_t basso =
          static_cast<unsigned char>(byte[i + 2]) << 8 | static_cast<unsigned char>(byte[i + 3]);
      if (basso >= 0xDC00 && basso < 0xE000) {
        c = 0x10000 + ((c - 0xD800) << 10) + (basso - 0xDC00);
        i += 2;
      }
    }
    if (c >= 0xD800 && c < 0xE000) c = 0xFFFD;  // an unpaired half of a surrogate pair
    util::AppendUtf8(uscita, c);
  }
  return uscita;
}

}  // namespace

std::string TestoPdf(std::string_view byte) {
  if (byte.starts_with("\xFE\xFF")) return DaUtf16(byte.substr(2));
  if (byte.starts_with("\xEF\xBB\xBF")) return std::string(byte.substr(3));
  std::string uscita;
  for (const char b : byte) {
    const auto c = static_cast<unsigned char>(b);
    char32_t u = c;
    if (c >= 0x18 && c <= 0x1F)
      u = kDa18[c - 0x18];
    else if (c >= 0x80 && c <= 0xA0)
      u = kDa80[c - 0x80];
    util::AppendUtf8(uscita, u);
  }
  return uscita;
}

}  // namespace qzkiro::cda::pdf
