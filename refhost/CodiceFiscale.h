#pragma once

#include <string_view>

namespace qzkiro::refhost {

// A personal fiscal code of 16 characters: six letters, the year, the month
// letter, the day, the place and the check character, digits possibly
// replaced by the letters LMNPQRSTUV of a homonymy; or a temporary code of
// 11 digits whose last is the check digit. Upper case only.
bool CodiceFiscaleValido(std::string_view codice);

}  // namespace qzkiro::refhost
