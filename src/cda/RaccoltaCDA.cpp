#include "cda/RaccoltaCDA.h"

#include <cstring>

namespace qzkiro::cda {

namespace {

char Minuscola(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// `nome` (of length `lunghezza`) equals `minuscolo` but for the case of its letters.
bool Uguale(const char* nome, std::size_t lunghezza, std::string_view minuscolo) {
  if (lunghezza != minuscolo.size()) return false;
  for (std::size_t i = 0; i < lunghezza; ++i) {
    if (Minuscola(nome[i]) != minuscolo[i]) return false;
  }
  return true;
}

}  // namespace

void Raccogli(Nodo n, std::span<const std::string_view> discesa, Raccolta cosa,
              std::vector<Nodo>& out) {
  if (!n) return;
  // What is collected is looked for by name; the names are measured once per
  // child, as every element of a long report passes here.
  const std::string_view cercato = cosa == Raccolta::Valori  ? "value"
                                   : cosa == Raccolta::Media ? "observationmedia"
                                                             : "code";
  for (Nodo c : util::clsXML::Figli(n)) {
    const std::string_view nome_figlio = util::clsXML::Nome(c);
    const char* nome = nome_figlio.data();
    const std::size_t lunghezza = nome_figlio.size();
    bool scendi = false;
    for (std::string_view d : discesa) {
      if (Uguale(nome, lunghezza, d)) {
        scendi = true;
        break;
      }
    }
    if (scendi) {
      Raccogli(c, discesa, cosa, out);
    } else if (Uguale(nome, lunghezza, cercato)) {
      out.push_back(cosa == Raccolta::Media ? c : n);
    }
  }
}

}  // namespace qzkiro::cda
