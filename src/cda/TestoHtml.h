#pragma once

#include <string>
#include <string_view>

#include "util/Testo.h"

namespace qzkiro::cda {

// How the renderings put text into HTML.
//
// Every page and fragment the readers render is plain ASCII: a character
// beyond ASCII is written as a numeric character reference ("&#8217;"). The
// same bytes then mean the same page whether they are read as UTF-8 (what the
// pages declare), as the host's one-byte-per-character text (its Base64 of a
// text, its files) or in any 8-bit code page, so no character is lost on the
// way and no declaration is contradicted.

// What every page declares about its characters; the pages' ASCII form.
inline constexpr std::string_view kDichiarazioneUtf8 = util::kMetaUtf8;
using util::SoloAscii;

// Text of the document shown as text: "&", "<", ">" and '"' become
// references, and so does every character beyond ASCII.
std::string TestoHtml(std::string_view testo);

}  // namespace qzkiro::cda
