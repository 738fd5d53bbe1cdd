#pragma once

#include <cstdint>
#include <string>

#include "qzkiro/host/Membri.h"
#include "qzkiro/host/Ricetta.h"

namespace qzkiro::services {

// Values of the prescription's StatoInvio.
namespace stato_invio {
inline constexpr int kInviata = 1;
inline constexpr int kInvioFallito = 2;
inline constexpr int kNonInviabile = 3;
}  // namespace stato_invio

// Typed reads of a host object's late-bound properties.
inline std::string Testo(host::IMembri& oggetto, const std::string& nome) {
  return oggetto.Membro(nome).ToText();
}
inline bool Flag(host::IMembri& oggetto, const std::string& nome) {
  return oggetto.Membro(nome).ToBool();
}
inline std::int64_t Intero(host::IMembri& oggetto, const std::string& nome) {
  return oggetto.Membro(nome).ToInteger();
}

// True when any line carries a tag of the regional catalogue "Ermete".
bool HaTagErmete(host::IRicetta& ricetta);

// Lower case of UTF-8 text for matching without regard to case (ASCII and
// the accented letters of Italian).
std::string Minuscolo(const std::string& testo);

// The first `caratteri` characters of UTF-8 text.
std::string Sinistra(const std::string& testo, std::size_t caratteri);

}  // namespace qzkiro::services
