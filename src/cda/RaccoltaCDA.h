#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "cda/NodiCDA.h"

namespace qzkiro::cda {

// What the walk through a document body collects.
enum class Raccolta {
  Valori,  // the parent of every "value" element: the result-bearing nodes
  Media,   // every "observationMedia" element
  Codici,  // the parent of every "code" element
};

// Visits the child elements of `n`: one whose name, in lower case, is in
// `discesa` is descended into; a "value" / "observationmedia" / "code" child
// is collected as `cosa` says (a parent with two such children twice); other
// children are ignored.
void Raccogli(Nodo n, std::span<const std::string_view> discesa, Raccolta cosa,
              std::vector<Nodo>& out);

}  // namespace qzkiro::cda
