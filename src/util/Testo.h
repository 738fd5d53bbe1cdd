#pragma once

#include <string>
#include <string_view>

namespace qzkiro::util {

// UTF-8 to ISO-8859-1, one byte per character; characters outside Latin-1
// become '?'. Malformed UTF-8 bytes are taken as Latin-1 characters.
std::string Utf8ToLatin1(std::string_view utf8);
// ISO-8859-1 bytes to UTF-8.
std::string Latin1ToUtf8(std::string_view latin1);

// Removes leading and trailing spaces, as the host's Trim does.
std::string Trim(std::string_view text);

// Every occurrence of `from` in `text` replaced by `to` (left to right, the
// replaced text is not searched again).
std::string Replace(std::string text, std::string_view from, std::string_view to);

// Text made safe for an XML element's content or attribute value.
std::string XmlEscape(std::string_view text);

}  // namespace qzkiro::util

namespace qzkiro::util {

// The Unicode code points of UTF-8 text; malformed bytes are taken as
// ISO-8859-1 characters.
std::u32string CodePoints(std::string_view utf8);

// What every HTML page of the readers declares about its characters. The
// pages are written in ASCII (SoloAscii), so the same bytes show the same page
// read as UTF-8, as the host's one-byte-per-character text or in any 8-bit
// code page.
inline constexpr std::string_view kMetaUtf8 =
    "<meta content=\"text/html; charset=UTF-8\" http-equiv=\"content-type\">";
// HTML with every character beyond ASCII written as "&#N;" (malformed UTF-8
// bytes are taken as ISO-8859-1 characters). Markup is left as it is.
std::string SoloAscii(std::string_view html);

// Appends the UTF-8 form of one code point.
void AppendUtf8(std::string& out, char32_t c);

// The value of a character in the Windows Western code page (1252), the
// 8-bit code page of the host's platform; -1 when it has none.
int ValoreCp1252(char32_t c);

// Bytes of that code page read one per character, as UTF-8.
std::string Cp1252ToUtf8(std::string_view bytes);

}  // namespace qzkiro::util
