#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace qzkiro::cda {

// Reading the tags of text written as XML, strictly: what XML does not allow
// is no tag.

// One attribute of a tag.
struct AttributoTag {
  std::string_view nome;
  std::string_view valore;  // as written between its quotes
};

// A start or end tag.
struct Tag {
  std::string_view nome;
  std::vector<AttributoTag> attributi;
  bool chiusura = false;  // "</nome>"
  bool vuoto = false;     // "<nome/>"
  std::size_t fine = 0;   // just past its '>'
};

// The complete start or end tag that begins with the '<' at `lt`: a name,
// then attributes (a blank, name = "value" or 'value', the value without
// '<'), then ">" or "/>"; an end tag has no attributes. nullopt when the text
// there is no such tag.
std::optional<Tag> LeggiTag(std::string_view t, std::size_t lt);

// The length of the character reference at `at` ("&amp;", "&#38;",
// "&#x26;"); 0 when the "&" there begins none.
std::size_t LunghezzaRiferimento(std::string_view t, std::size_t at);

}  // namespace qzkiro::cda
