#include "util/Testo.h"

#include <algorithm>
#include <cstdint>

namespace qzkiro::util {

namespace {

// Length of the UTF-8 sequence that starts with `lead`, 0 when not a lead byte.
int SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 0;
}

// The code point that starts at `i`, moving `i` past it; a malformed byte is
// taken as the ISO-8859-1 character of that value.
char32_t Prossimo(std::string_view utf8, std::size_t& i) {
  auto lead = static_cast<unsigned char>(utf8[i]);
  int length = SequenceLength(lead);
  bool valid = length > 0 && i + length <= utf8.size();
  char32_t c = length == 1 ? lead : lead & (0xFF >> (length + 1));
  for (int k = 1; valid && k < length; ++k) {
    auto next = static_cast<unsigned char>(utf8[i + k]);
    valid = (next & 0xC0) == 0x80;
    c = (c << 6) | (next & 0x3F);
  }
  i += valid ? length : 1;
  return valid ? c : lead;
}

}  // namespace

std::string Utf8ToLatin1(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    if (static_cast<unsigned char>(utf8[i]) < 0x80) {
      out.push_back(utf8[i++]);
      continue;
    }
    const char32_t c = Prossimo(utf8, i);
    out.push_back(c <= 0xFF ? static_cast<char>(c) : '?');
  }
  return out;
}

std::string Latin1ToUtf8(std::string_view latin1) {
  std::string out;
  out.reserve(latin1.size() + latin1.size() / 8);
  for (char c : latin1) {
    auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      out.push_back(c);
    } else {
      out.push_back(static_cast<char>(0xC0 | (byte >> 6)));
      out.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
    }
  }
  return out;
}

std::string Trim(std::string_view text) {
  auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  auto last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

std::string Replace(std::string text, std::string_view from, std::string_view to) {
  if (from.empty()) return text;
  for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

std::string XmlEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      default:
        out.push_back(c);
    }
  }
  return out;
}

}  // namespace qzkiro::util

namespace qzkiro::util {

namespace {

// Characters of code page 1252 in 0x80..0x9F (0 where the code page has none).
constexpr char32_t kCp1252Alti[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

std::u32string CodePoints(std::string_view utf8) {
  std::u32string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) out.push_back(Prossimo(utf8, i));
  return out;
}

int ValoreCp1252(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
  for (int i = 0; i < 32; ++i) {
    if (kCp1252Alti[i] == c) return 0x80 + i;
  }
  return -1;
}

std::string Cp1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 4);
  for (char b : bytes) {
    auto v = static_cast<unsigned char>(b);
    char32_t c = v >= 0x80 && v < 0xA0 && kCp1252Alti[v - 0x80] ? kCp1252Alti[v - 0x80] : v;
    AppendUtf8(out, c);
  }
  return out;
}

std::string SoloAscii(std::string_view html) {
  const bool ascii = std::all_of(html.begin(), html.end(),
                                 [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (ascii) return std::string(html);  // most pages: no copy through code points
  std::string out;
  out.reserve(html.size() + html.size() / 8);
  for (char32_t c : CodePoints(html)) {
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else {
      out += "&#" + std::to_string(static_cast<std::uint32_t>(c)) + ';';
    }
  }
  return out;
}

}  // namespace qzkiro::util
