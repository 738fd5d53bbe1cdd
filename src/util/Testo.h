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

}  // namespace qzkiro::util
