#pragma once

#include <string>

namespace qzkiro::refhost {

// The host's display forms of the values the documents carry.

// A date or time stamp as the host shows it. Dates ("yyyymmdd",
// "yyyy-mm-dd") give "dd/mm/yyyy"; stamps with a time give
// "dd/mm/yyyy hh:nn", always to the minute: seconds, fractions and zone are
// left out and the time is not moved to another zone. Stamps with a time
// are "yyyymmddhh[nn[ss[.f...]]]" with an optional zone "+zzzz"/"-zzzz", and
// "yyyy-mm-dd hh:nn[:ss]" ("T" in place of the space too). Surrounding
// spaces are ignored; anything else, dates not on the calendar included,
// comes back as it was given.
std::string DataVisualizzata(const std::string& data);

// The number in a text: an optional sign, digits with "." or "," as the
// decimal separator (no thousands separators), spaces around it and a
// comparison before it ("<5", ">= 10") allowed; 0 for any other text.
double NumeroNelTesto(const std::string& testo);

// & < > " ' as HTML entities (' as "&#39;").
std::string TestoHtml(const std::string& testo);

}  // namespace qzkiro::refhost
