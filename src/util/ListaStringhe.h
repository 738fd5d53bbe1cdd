#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qzkiro::util {

// An ordered list of texts with an unambiguous text form.
//
// Text form: every item, in order, written as its length in bytes (decimal,
// no leading zeros), ':', the item's bytes, ','. The empty list is "".
// Example: {"1", "", "a,b"} -> "1:1,0:,3:a,b,". Any byte may occur in an item
// (separators, line breaks, NUL): the length says where it ends.
class ListaStringhe {
 public:
  void Append(std::string item) { items_.push_back(std::move(item)); }
  std::size_t Count() const { return items_.size(); }
  // 1-based; "" past the end, as a reader that never fails.
  std::string Item(std::size_t position) const;
  const std::vector<std::string>& Items() const { return items_; }

  std::string Serializza() const;
  // The list written by Serializza; nullopt when `text` is not such a form.
  static std::optional<ListaStringhe> Carica(std::string_view text);

 private:
  std::vector<std::string> items_;
};

}  // namespace qzkiro::util
