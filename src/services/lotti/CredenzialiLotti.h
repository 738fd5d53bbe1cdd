#pragma once

#include <string>

namespace qzkiro::lotti {

// The account of the add-on at the regional lot search (HTTP basic
// authentication), held enciphered and deciphered at each use.
std::string UtenteLotti();
std::string PasswordLotti();

}  // namespace qzkiro::lotti
