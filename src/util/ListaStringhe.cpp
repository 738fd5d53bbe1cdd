#include "util/ListaStringhe.h"

#include <charconv>

namespace qzkiro::util {

std::string ListaStringhe::Item(std::size_t position) const {
  if (position < 1 || position > items_.size()) return {};
  return items_[position - 1];
}

std::string ListaStringhe::Serializza() const {
  std::string out;
  for (const auto& item : items_) {
    out += std::to_string(item.size());
    out.push_back(':');
    out += item;
    out.push_back(',');
  }
  return out;
}

std::optional<ListaStringhe> ListaStringhe::Carica(std::string_view text) {
  ListaStringhe list;
  std::size_t at = 0;
  while (at < text.size()) {
    auto colon = text.find(':', at);
    if (colon == std::string_view::npos || colon == at) return std::nullopt;
    if (text[at] == '0' && colon != at + 1) return std::nullopt;  // leading zeros
    std::size_t length = 0;
    auto [end, ec] = std::from_chars(text.data() + at, text.data() + colon, length);
    if (ec != std::errc() || end != text.data() + colon) return std::nullopt;
    std::size_t start = colon + 1;
    if (length > text.size() - start || start + length >= text.size() ||
        text[start + length] != ',') {
      return std::nullopt;
    }
    list.Append(std::string(text.substr(start, length)));
    at = start + length + 1;
  }
  return list;
}

}  // namespace qzkiro::util
