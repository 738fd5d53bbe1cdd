#include "qzkiro/host/Collection.h"

#include <algorithm>

#include "qzkiro/Failure.h"

namespace qzkiro::host {

namespace {
constexpr long kIndiceNonValido = 9;  // the host's "subscript out of range"
}

const Variant& Collection::Item(std::size_t position) const {
  if (position < 1 || position > items_.size()) {
    throw Failure(kIndiceNonValido, "Indice non compreso nell'intervallo");
  }
  return items_[position - 1].second;
}

const Variant& Collection::Item(const std::string& key) const {
  auto it = std::find_if(items_.begin(), items_.end(),
                         [&](const auto& entry) { return !key.empty() && entry.first == key; });
  if (it == items_.end()) throw Failure(kIndiceNonValido, "Elemento non trovato: " + key);
  return it->second;
}

bool Collection::Exists(const std::string& key) const {
  return std::any_of(items_.begin(), items_.end(),
                     [&](const auto& entry) { return !key.empty() && entry.first == key; });
}

void Collection::Remove(std::size_t position) {
  Item(position);  // range check
  items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(position - 1));
}

}  // namespace qzkiro::host
