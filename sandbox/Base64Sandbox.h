#pragma once

#include <string>
#include <string_view>

namespace qzkiro::sandbox {

// Base64 as the services read and write it: blanks and line breaks skipped
// on reading ("" when the text is not Base64), one line on writing.
std::string DaBase64(std::string_view testo);
std::string InBase64(std::string_view dati);

}  // namespace qzkiro::sandbox
