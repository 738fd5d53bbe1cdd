#pragma once

#include <span>
#include <string>
#include <string_view>

#include "hl7/clsHL7.h"

namespace qzkiro::hl7 {

// A text property of clsHL7 by name.
struct ProprietaHL7 {
  std::string_view nome;
  std::string (clsHL7::*leggi)() const;
};

// Every text property of clsHL7 that only reads the message (no renderings,
// no files), in the order of the class: what inspectors and dumps list.
std::span<const ProprietaHL7> ProprietaTesto();

}  // namespace qzkiro::hl7
