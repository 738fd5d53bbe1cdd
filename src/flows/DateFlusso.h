#pragma once

#include <string>
#include <string_view>

namespace qzkiro::flows {

// A date the host hands to a flow ("yyyymmdd", "yyyy-mm-dd", "dd/mm/yyyy",
// each possibly followed by a time) written "yyyy-mm-dd"; "" for anything
// else.
std::string DataIso(std::string_view testo);

// The same date written "yyyymmdd"; "" for anything else.
std::string DataCompatta(std::string_view testo);

}  // namespace qzkiro::flows
