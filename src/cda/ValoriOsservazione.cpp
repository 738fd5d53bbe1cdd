#include "cda/ValoriOsservazione.h"

#include <array>
#include <utility>

#include "cda/ValoriCDA.h"

namespace qzkiro::cda::osservazione {

Nodo Valore(Nodo oss) {
  return Figlio(oss, "value");
}

std::string TipoValore(Nodo valore) {
  return Attributo(valore, "type");
}

bool Rapporto(std::string_view tipo) {
  return tipo == "RTO" || tipo == "RTO_PQ_PQ";
}

std::string UM(Nodo oss) {
  Nodo valore = Valore(oss);
  if (Rapporto(TipoValore(valore))) return AttributoDi(valore, "numerator", "unit");
  return Attributo(valore, "unit");
}

bool Alterato(Nodo oss) {
  const std::string codice = Minuscolo(AttributoDi(oss, "interpretationCode", "code"));
  return !(codice.empty() || codice == "n" || codice == "normal");
}

TipoEsito Classifica(std::string_view tipo) {
  static constexpr std::array<std::pair<std::string_view, TipoEsito>, 7> kTipi = {{
      {"PQ", TipoEsito::PQ},
      {"PD", TipoEsito::PD},
      {"CE", TipoEsito::CE},
      {"CD", TipoEsito::CD},
      {"ST", TipoEsito::ST},
      {"RTO", TipoEsito::RTO},
      {"RTO_PQ_PQ", TipoEsito::RTO_PQ_PQ},
  }};
  for (const auto& [nome, valore] : kTipi) {
    if (nome == tipo) return valore;
  }
  return TipoEsito::Altro;
}

std::string TestoNumerico(Nodo oss) {
  Nodo valore = Valore(oss);
  if (Rapporto(TipoValore(valore))) return AttributoDi(valore, "numerator", "value");
  return Attributo(valore, "value");
}

double EsitoNumerico(const host::AccessoHost& accesso, Nodo oss) {
  return Arrotonda4(accesso.ValoreNumero(TestoNumerico(oss)));
}

}  // namespace qzkiro::cda::osservazione
