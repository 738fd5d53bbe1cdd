#include "core/Casuale.h"

#include <openssl/rand.h>

#include <stdexcept>

namespace qzkiro::core {

std::uint32_t Casuale::Entro(std::uint32_t n) {
  // Rejects the top values that would favour the low results.
  const std::uint32_t limite = UINT32_MAX - UINT32_MAX % n;
  std::uint32_t v = Prossimo();
  while (v >= limite) v = Prossimo();
  return v % n;
}

std::uint32_t CasualeDiSistema::Prossimo() {
  std::uint32_t v = 0;
  if (RAND_bytes(reinterpret_cast<unsigned char*>(&v), sizeof v) != 1) {
    throw std::runtime_error("Generatore casuale del sistema non disponibile");
  }
  return v;
}

}  // namespace qzkiro::core
