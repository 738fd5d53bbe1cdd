#pragma once

#include <string>

/// \file
/// The failure the host's controls raise for a value they refuse.

namespace qzkiro::qt {

/// The number of the controls' "invalid property value" failure.
inline constexpr long kValoreNonValido = 380;

/// Throws Failure(kValoreNonValido) naming the property (`cosa`).
[[noreturn]] void ValoreNonValido(const std::string& cosa);

}  // namespace qzkiro::qt
