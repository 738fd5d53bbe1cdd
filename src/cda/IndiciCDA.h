#pragma once

#include <string>
#include <unordered_map>

#include "cda/NodiCDA.h"

namespace qzkiro::cda {

// Look-ups that every observation of a document repeats, each built once per
// document on first use so that reading thousands of observations stays
// linear: the narrative elements by identifier, their HTML, and the specimen
// collection times by specimen.
class IndiciCDA {
 public:
  // Forgets everything (a new document was loaded).
  void Svuota();

  // The first element, in document order, below `corpo` whose attribute "ID"
  // is `id`; null when none.
  Nodo ElementoConID(Nodo corpo, const std::string& id);

  // Among the "entryRelationship" children of `padre`, the first whose
  // "act/specimen/specimenRole/id" attribute "extension" is `id`: its
  // "act/effectiveTime" attribute "value"; "" when none.
  std::string OraPrelievo(Nodo padre, const std::string& id);

  // The HTML of the narrative element `n` (NarrativaHtml), rendered once:
  // the results of a section often all point to its one results table.
  const std::string& NarrativaHtml(Nodo n);

 private:
  std::unordered_map<Nodo, std::unordered_map<std::string, Nodo>> per_id_;
  std::unordered_map<Nodo, std::unordered_map<std::string, std::string>> prelievi_;
  std::unordered_map<Nodo, std::string> narrative_;
};

}  // namespace qzkiro::cda
