#pragma once

#include <concepts>
#include <cstdint>
#include <memory>
#include <string>
#include <variant>

#include "qzkiro/host/Object.h"

/// \file
/// The value of a late-bound argument.

namespace qzkiro::host {

/// The value of a late-bound argument: empty, Boolean, integer, floating point,
/// text or host object.
class Variant {
 public:
  /// A host object held by a Variant.
  using Oggetto = std::shared_ptr<Object>;

  /// An empty value.
  Variant() = default;
  /// A Boolean.
  Variant(bool v) : v_(v) {}
  /// An integer of any integral type but bool, held as 64 bits.
  template <std::integral T>
  requires(!std::same_as<T, bool>) Variant(T v) : v_(static_cast<std::int64_t>(v)) {}
  /// A floating-point number.
  Variant(double v) : v_(v) {}
  /// A text (UTF-8).
  Variant(std::string v) : v_(std::move(v)) {}
  /// A text (UTF-8), from a C string.
  Variant(const char* v) : v_(std::string(v)) {}
  /// A host object; a null pointer is held as an object too.
  Variant(Oggetto v) : v_(std::move(v)) {}
  /// A host object of a derived kind, held as an Object.
  template <class T>
  requires std::derived_from<T, Object> Variant(std::shared_ptr<T> v) : v_(Oggetto(std::move(v))) {}

  /// True for the empty value.
  bool IsEmpty() const { return std::holds_alternative<std::monostate>(v_); }
  /// True for a Boolean.
  bool IsBool() const { return std::holds_alternative<bool>(v_); }
  /// True for an integer.
  bool IsInteger() const { return std::holds_alternative<std::int64_t>(v_); }
  /// True for a floating-point number.
  bool IsDouble() const { return std::holds_alternative<double>(v_); }
  /// True for a text.
  bool IsText() const { return std::holds_alternative<std::string>(v_); }
  /// True for a host object (also a null one).
  bool IsObject() const { return std::holds_alternative<Oggetto>(v_); }

  /// Text form: "" when empty, "True"/"False" for Booleans, the number in the
  /// shortest form, the text itself; an object gives "".
  std::string ToText() const;
  /// Boolean form: numbers are true when not zero, texts "True"/"False" (any case)
  /// or numbers; anything else is false.
  bool ToBool() const;
  /// Integer form: integers as they are, floating point rounded to the
  /// nearest, Booleans -1/0, texts parsed (0 when not a whole number);
  /// anything else is 0.
  std::int64_t ToInteger() const;

  /// The host object held; null for any other value.
  Oggetto ToObject() const { return IsObject() ? std::get<Oggetto>(v_) : nullptr; }
  /// The host object held as the kind `T`; null when the value is no object
  /// or an object of another kind.
  template <class T>
  std::shared_ptr<T> As() const {
    return std::dynamic_pointer_cast<T>(ToObject());
  }

  /// Equal when both hold the same kind and the same value (objects: the
  /// same object).
  friend bool operator==(const Variant&, const Variant&) = default;

 private:
  std::variant<std::monostate, bool, std::int64_t, double, std::string, Oggetto> v_;
};

}  // namespace qzkiro::host
