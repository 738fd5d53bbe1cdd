#include "cda/NodiCDA.h"

namespace qzkiro::cda {

namespace {

using util::clsXML;

char MinuscolaAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::string_view NomeLocale(Nodo n) {
  return clsXML::Nome(n);
}

bool HaNome(Nodo n, std::string_view nome) {
  return clsXML::HaNome(n, nome);
}

Nodo Figlio(Nodo n, std::string_view nome) {
  for (Nodo c : clsXML::Figli(n)) {
    if (clsXML::HaNome(c, nome)) return c;
  }
  return nullptr;
}

Nodo Primo(Nodo n, std::string_view percorso) {
  Nodo trovato = nullptr;
  PerOgni(n, percorso, [&](Nodo c) {
    trovato = c;
    return false;
  });
  return trovato;
}

std::string Attributo(Nodo n, std::string_view nome) {
  return clsXML::Attributo(n, nome);
}

std::string AttributoDi(Nodo n, std::string_view percorso, std::string_view nome) {
  return Attributo(Primo(n, percorso), nome);
}

std::string Testo(Nodo n) {
  return clsXML::Testo(n);
}

std::string TestoDi(Nodo n, std::string_view percorso) {
  return Testo(Primo(n, percorso));
}

Nodo Antenato(Nodo n, int livelli) {
  for (int i = 0; i < livelli && n; ++i) n = clsXML::Padre(n);
  return n;
}

Nodo ElementoPrecedente(Nodo n) {
  return clsXML::ElementoPrecedente(n);
}

Nodo ElementoSeguente(Nodo n) {
  return clsXML::ElementoSeguente(n);
}

std::string Serializza(Nodo n) {
  return clsXML::SalvaNodo(n);
}

std::string Minuscolo(std::string_view testo) {
  std::string out(testo);
  for (char& c : out) c = MinuscolaAscii(c);
  return out;
}

}  // namespace qzkiro::cda
