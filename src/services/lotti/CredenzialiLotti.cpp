#include "services/lotti/CredenzialiLotti.h"

#include <string_view>

#include "core/CostantiCifrate.h"

namespace qzkiro::lotti {

namespace {

// Enciphered like the add-on's other constants (core::DecifraCostante).
constexpr std::string_view kUtenteCifrato = "4F7E94CE5AAF41";
constexpr std::string_view kPasswordCifrata = "726FD1827AB407B1";

}  // namespace

std::string UtenteLotti() {
  return core::DecifraCostante(kUtenteCifrato);
}

std::string PasswordLotti() {
  return core::DecifraCostante(kPasswordCifrata);
}

}  // namespace qzkiro::lotti
