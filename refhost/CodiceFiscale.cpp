#include "refhost/CodiceFiscale.h"

#include <algorithm>
#include <cctype>

namespace qzkiro::refhost {

namespace {

constexpr std::string_view kMesi = "ABCDEHLMPRST";
constexpr std::string_view kOmocodie = "LMNPQRSTUV";
// The value of a character in an odd position (1st, 3rd, ...), by its digit
// or letter index.
constexpr int kDispari[26] = {1, 0,  5,  7,  9,  13, 15, 17, 19, 21, 2,  4,  18,
                              20, 11, 3, 6, 8, 12, 14, 16, 10, 22, 25, 24, 23};

bool Lettera(char c) { return c >= 'A' && c <= 'Z'; }
bool Cifra(char c) { return c >= '0' && c <= '9'; }
int Indice(char c) { return Cifra(c) ? c - '0' : c - 'A'; }

bool Forma(std::string_view c) {
  auto numerico = [&](std::size_t i) { return Cifra(c[i]) || kOmocodie.find(c[i]) != c.npos; };
  for (std::size_t i : {0, 1, 2, 3, 4, 5, 8, 11, 15}) {
    if (!Lettera(c[i])) return false;
  }
  for (std::size_t i : {6, 7, 9, 10, 12, 13, 14}) {
    if (!numerico(i)) return false;
  }
  return kMesi.find(c[8]) != std::string_view::npos;
}

bool Provvisorio(std::string_view c) {
  if (!std::all_of(c.begin(), c.end(), Cifra)) return false;
  int somma = 0;
  for (std::size_t i = 0; i < 10; ++i) {
    int v = c[i] - '0';
    if (i % 2 == 1) v = v * 2 > 9 ? v * 2 - 9 : v * 2;
    somma += v;
  }
  return (10 - somma % 10) % 10 == c[10] - '0';
}

}  // namespace

bool CodiceFiscaleValido(std::string_view codice) {
  if (codice.size() == 11) return Provvisorio(codice);
  if (codice.size() != 16 || !Forma(codice)) return false;
  int somma = 0;
  for (std::size_t i = 0; i < 15; ++i) {
    somma += i % 2 == 0 ? kDispari[Indice(codice[i])] : Indice(codice[i]);
  }
  return codice[15] == static_cast<char>('A' + somma % 26);
}

}  // namespace qzkiro::refhost
