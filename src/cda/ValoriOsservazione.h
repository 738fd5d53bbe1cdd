#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "cda/NodiCDA.h"
#include "host/AccessoHost.h"

namespace qzkiro::cda {

// The kind of an observation's result, by the "type" of its "value".
enum class TipoEsito : std::int32_t {
  Altro = 0,
  PQ = 1,
  PD = 2,
  CE = 3,
  CD = 4,
  ST = 5,
  RTO = 6,
  RTO_PQ_PQ = 7,
};

// The values of one observation that both CDA readers read alike.
namespace osservazione {

// The observation's first "value" and its "type" (also written "xsi:type").
Nodo Valore(Nodo oss);
std::string TipoValore(Nodo valore);
// A ratio: "RTO" or "RTO_PQ_PQ", whose number sits in "value/numerator".
bool Rapporto(std::string_view tipo);

// "value" attribute "unit", or "value/numerator" attribute "unit" for a ratio.
std::string UM(Nodo oss);
// True unless "interpretationCode" attribute "code" is "", "n" or "normal"
// (in any case).
bool Alterato(Nodo oss);
TipoEsito Classifica(std::string_view tipo);
// The text of the numeric result: "value" attribute "value", or
// "value/numerator" attribute "value" for a ratio.
std::string TestoNumerico(Nodo oss);
// The numeric result, converted by the host and rounded to four decimals.
double EsitoNumerico(const host::AccessoHost& accesso, Nodo oss);

}  // namespace osservazione

}  // namespace qzkiro::cda
