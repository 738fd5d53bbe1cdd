#include "util/NumeroLocale.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "util/Testo.h"

namespace qzkiro::util {

double NumeroLocale(const std::string& testo) {
  std::string numero = Trim(testo);
  // A comparison before the number ("<5", ">= 10") is no part of it.
  const std::size_t confronto = numero.find_first_not_of("<>=");
  if (confronto != 0) numero = Trim(numero.substr(std::min(confronto, numero.size())));
  if (numero.starts_with('+')) numero.erase(0, 1);
  std::replace(numero.begin(), numero.end(), ',', '.');
  double valore = 0;
  const char* fine = numero.data() + numero.size();
  const auto [letto, errore] = std::from_chars(numero.data(), fine, valore);
  return !numero.empty() && errore == std::errc() && letto == fine && std::isfinite(valore) ? valore
                                                                                            : 0;
}

}  // namespace qzkiro::util
