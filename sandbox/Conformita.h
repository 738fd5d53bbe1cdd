#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "sandbox/Schemi.h"

namespace qzkiro::sandbox {

// A documented difference between version 1.2 of the public e-prescription
// kit and what the add-on must send (or what our receipts echo back of it).
struct Eccezione {
  enum class Tipo {
    kElementoAssente,  // the kit has no such element: removed before validating
    kValore,           // the kit's simple type is too narrow: its value error is accepted
  };
  std::string_view elemento;  // local name
  std::string_view genitore;  // local name of the parent it may appear in
  Tipo tipo;
  bool (*ammesso)(std::string_view valore);  // the sane values; any other is refused
  std::string_view motivo;
};

// The whole list: nothing else passes.
std::span<const Eccezione> Eccezioni();

// Validates the SOAP message `corpo` against `schemi` with the exceptions
// applied: the first violation left, nullopt when the message conforms. A
// body that is not well-formed XML is a violation too.
std::optional<ViolazioneSchema> PrimaViolazione(const Schemi& schemi, std::string_view corpo);

// "riga 12, elemento 'nre': " followed by libxml2's message.
std::string DescriviViolazione(const ViolazioneSchema& violazione);

}  // namespace qzkiro::sandbox
