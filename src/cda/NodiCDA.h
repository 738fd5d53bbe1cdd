#pragma once

#include <string>
#include <string_view>

#include "util/clsXML.h"

namespace qzkiro::cda {

// Reading a CDA document by walking its nodes. Paths are child steps
// "a/b/c" whose names match the local name of elements, as the location paths
// of clsXML do; walking the children avoids evaluating XPath for every
// property of every observation. Nothing here fails: a missing node gives
// null or "".
using Nodo = util::clsXML::Nodo;

// The local name of an element ("" for anything else).
std::string_view NomeLocale(Nodo n);
bool HaNome(Nodo n, std::string_view nome);

// The first child element named `nome`; null when none.
Nodo Figlio(Nodo n, std::string_view nome);
// The first element reached from `n` through the child steps of `percorso`,
// in document order; null when none.
Nodo Primo(Nodo n, std::string_view percorso);

// Calls `azione(nodo)` for every element reached through `percorso`, in
// document order, until it returns false.
template <class Azione>
bool PerOgni(Nodo n, std::string_view percorso, Azione&& azione) {
  if (!n) return true;
  const auto barra = percorso.find('/');
  const std::string_view passo = percorso.substr(0, barra);
  for (Nodo c : util::clsXML::Figli(n)) {
    if (!HaNome(c, passo)) continue;
    if (barra == std::string_view::npos) {
      if (!azione(c)) return false;
    } else if (!PerOgni(c, percorso.substr(barra + 1), azione)) {
      return false;
    }
  }
  return true;
}

// An attribute by its local name (so "type" reads "xsi:type" too); "" when absent.
std::string Attributo(Nodo n, std::string_view nome);
// The attribute of the first element matching `percorso`.
std::string AttributoDi(Nodo n, std::string_view percorso, std::string_view nome);
// The text content of a node (all descendant text).
std::string Testo(Nodo n);
std::string TestoDi(Nodo n, std::string_view percorso);

// The ancestor `livelli` steps up; null when the chain ends before (the
// document itself is no element and does not count).
Nodo Antenato(Nodo n, int livelli);
// The nearest element before / after `n` among its siblings.
Nodo ElementoPrecedente(Nodo n);
Nodo ElementoSeguente(Nodo n);

// The node written as XML in UTF-8, without namespace declarations it merely
// inherits; carriage returns stay literal.
std::string Serializza(Nodo n);

// ASCII lower case.
std::string Minuscolo(std::string_view testo);

}  // namespace qzkiro::cda
