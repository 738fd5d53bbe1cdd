#pragma once

#include <string>

namespace qzkiro::util {

// The add-on's own reading of a number, as the host's Framework.Valore reads
// one: a decimal number with point or comma, an optional sign, blanks around
// it and a comparison before it ("<5", ">= 10") allowed; 0 for any other text.
double NumeroLocale(const std::string& testo);

}  // namespace qzkiro::util
