#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace qzkiro::refhost {

// The line structure and the encodings of MIME text (RFC 2045, 2047, 2231).
// Bytes travel one per character; decoded names come out in UTF-8.

// One line of a text: its characters without the line end (CR LF or LF) and
// where the next line begins (the text's size after the last line).
struct RigaMime {
  std::string_view testo;
  std::size_t successiva = 0;
};
RigaMime LeggiRiga(std::string_view testo, std::size_t inizio);

// Only spaces and tabs (or nothing).
bool SoloSpazi(std::string_view testo);
// Without leading and trailing spaces and tabs.
std::string_view SenzaSpazi(std::string_view testo);
std::string Minuscolo(std::string_view testo);

// A quoted-printable body: "=XX" gives the byte, an "=" at the end of a line
// joins it to the next one (soft line break), spaces and tabs at the end of a
// line are dropped; an "=" not followed by two hexadecimal digits stays as it
// is, as do the line ends.
std::string DecodificaQuotedPrintable(std::string_view testo);

// Bytes in a character set as UTF-8: UTF-8 and US-ASCII as they are,
// ISO-8859-1 and windows-1252 converted; nullopt for any other set.
std::optional<std::string> InUtf8(std::string_view bytes, std::string_view charset);

// A header text with its encoded words ("=?UTF-8?B?...?=",
// "=?ISO-8859-1?Q?...?=") in UTF-8. The white space between two adjacent
// encoded words goes; a malformed word, or one in an unknown set, stays as it
// is written.
std::string DecodificaParoleCodificate(std::string_view testo);

// An extended parameter value "charset'lingua'%XX..." in UTF-8; nullopt when
// it is not in that form or its set is unknown.
std::optional<std::string> DecodificaValoreEsteso(std::string_view valore);
// "%XX" sequences as bytes (a "%" without two hexadecimal digits stays).
std::string DecodificaPercentuale(std::string_view testo);

}  // namespace qzkiro::refhost
