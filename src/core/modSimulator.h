#pragma once

#include <string>

namespace qzkiro::core::modSimulator {

// The value of `key` in `section` of "\Simulatore\Simulatore.ini" in the
// add-on's folder; "" when the file, section or key is missing. Section and
// key names match without regard to case; the value is cut at 254 characters.
std::string ReadIni(const std::string& section, const std::string& key);

// Simulator mode is on when "Attivo" of section "Simulatore" is exactly "1".
bool LeggiAttivo();

}  // namespace qzkiro::core::modSimulator
