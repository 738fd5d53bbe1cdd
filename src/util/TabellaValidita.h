#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qzkiro::util {

// The add-on's local tables ("SA_COMUNI.csv", "SA_STATI_ESTERI.csv"): rows of
// ';'-separated columns, each valid from column 6 to column 7 (dates
// "yyyy-mm-dd" or "dd/mm/yyyy").
//
// The columns of the first row that holds `chiave` + ";" anywhere (letter
// case ignored) and is valid at `riferimento` ("yyyymmdd"), or, without one,
// is still valid at `oggi`. The row is padded with ";;;;;;;;" before it is
// split, so a short row still has every column; bytes that are not UTF-8 are
// read as ISO-8859-1 (the file may be in the platform's 8-bit code page).
// Empty when the file cannot be read or no row matches.
std::vector<std::string> RigaValida(const std::string& file, std::string_view chiave,
                                    const std::optional<std::string>& riferimento,
                                    const std::string& oggi);

// A date of those tables (or of the host: "yyyy-mm-dd", "dd/mm/yyyy", a
// time after it allowed) as "yyyymmdd"; nullopt when it is no real date.
std::optional<std::string> DataTabella(std::string_view testo);

}  // namespace qzkiro::util
