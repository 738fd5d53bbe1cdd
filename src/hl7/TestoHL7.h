#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "util/Testo.h"

namespace qzkiro::hl7 {

// Small text rules of the HL7 reader.

// `testo` begins with `prefisso`, ignoring the case of ASCII letters.
bool IniziaCon(std::string_view testo, std::string_view prefisso);
// ASCII letters in lower case.
std::string Minuscolo(std::string_view testo);
// The first `n` characters (code points) of UTF-8 text.
std::string PrimiCaratteri(std::string_view testo, std::size_t n);
// Not empty and made of ASCII digits only.
bool SoloCifre(std::string_view testo);
// A date written "yyyy-mm-dd" or "dd/mm/yyyy" (a time may follow) as
// "yyyymmdd"; nullopt when the text is not a calendar date.
std::optional<std::string> DataComeAAAAMMGG(std::string_view testo);
// The "yyyymmdd" of an HL7 time stamp or of a written date; "" when neither.
std::string DataHL7(std::string_view testo);
// The pages of the reader declare UTF-8 and are written in ASCII: every
// character beyond ASCII becomes a numeric character reference ("&#8211;"),
// so the same bytes show the same page read as UTF-8, as the host's one byte
// per character text or in any 8-bit code page. Malformed UTF-8 bytes are
// taken as ISO-8859-1 characters.
inline constexpr std::string_view kDichiarazioneUtf8 = util::kMetaUtf8;
using util::SoloAscii;
// A 3-character ISTAT code is a foreign state: "999" goes before it.
std::string CodiceIstat(std::string codice);
// A local health unit code of 4 or 5 characters is padded with "0" to 6.
std::string CodiceUnitaSanitaria(std::string codice);

}  // namespace qzkiro::hl7
