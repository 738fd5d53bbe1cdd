#include "cda/OggettoPdf.h"

#include <cmath>

namespace qzkiro::cda::pdf {

const Oggetto* Oggetto::Voce(std::string_view chiave) const {
  if (!EDizionario()) return nullptr;
  for (const auto& voce : voci) {
    if (voce.chiave == chiave) return &voce.valore;
  }
  return nullptr;
}

bool Oggetto::Intero(long long& valore, long long minimo, long long massimo) const {
  if (tipo != Tipo::Numero || numero != std::floor(numero)) return false;
  if (numero < static_cast<double>(minimo) || numero > static_cast<double>(massimo)) return false;
  valore = static_cast<long long>(numero);
  return true;
}

}  // namespace qzkiro::cda::pdf
