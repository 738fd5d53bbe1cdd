#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "qzkiro/host/Object.h"
#include "qzkiro/host/Variant.h"

/// \file
/// The host's ordered, keyed collection.

namespace qzkiro::host {

/// An ordered collection with optional text keys and 1-based positions, the
/// shape of the host's collections (parameters, record lists, document lists).
class Collection : public Object {
 public:
  /// Appends `item`, under `key` when one is given ("" for none).
  void Add(Variant item, std::string key = {}) {
    items_.emplace_back(std::move(key), std::move(item));
  }
  /// The number of items.
  std::size_t Count() const { return items_.size(); }
  /// 1-based, as the host counts; throws Failure when out of range.
  const Variant& Item(std::size_t position) const;
  /// The item added with this key; throws Failure when absent.
  const Variant& Item(const std::string& key) const;
  /// True when an item was added with this (non-empty) key.
  bool Exists(const std::string& key) const;
  /// Removes the item at this 1-based position; throws Failure when out of
  /// range.
  void Remove(std::size_t position);
  /// Removes every item.
  void Clear() { items_.clear(); }

 private:
  std::vector<std::pair<std::string, Variant>> items_;
};

}  // namespace qzkiro::host
