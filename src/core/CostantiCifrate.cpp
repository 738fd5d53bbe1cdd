#include "core/CostantiCifrate.h"

#include "util/Testo.h"
#include "util/clsRC4.h"

namespace qzkiro::core {

namespace {

// Built piece by piece so the key never appears whole in the binary.
std::string ChiaveCostanti() {
  std::string chiave = "plg";
  chiave += "QZ";
  chiave += "CoopApp";
  chiave += std::to_string(2000 + 16);
  return chiave;
}

int Cifra(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::string DecifraCostante(std::string_view esadecimale) {
  return DecifraCostante(esadecimale, ChiaveCostanti());
}

std::string DecifraCostante(std::string_view esadecimale, std::string_view chiave) {
  if (esadecimale.size() % 2 != 0) return {};
  std::string byte;
  for (std::size_t i = 0; i < esadecimale.size(); i += 2) {
    const int alto = Cifra(esadecimale[i]);
    const int basso = Cifra(esadecimale[i + 1]);
    if (alto < 0 || basso < 0) return {};
    byte.push_back(static_cast<char>(alto * 16 + basso));
  }
  util::clsRC4 rc4;
  return rc4.DecryptString(util::Latin1ToUtf8(byte), chiave);
}

}  // namespace qzkiro::core
