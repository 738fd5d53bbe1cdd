#pragma once

#include <concepts>
#include <cstdint>
#include <memory>
#include <string>
#include <variant>

#include "qzkiro/host/Object.h"

namespace qzkiro::host {

// The value of a late-bound argument: empty, Boolean, integer, floating point,
// text or host object.
class Variant {
 public:
  using Oggetto = std::shared_ptr<Object>;

  Variant() = default;
  Variant(bool v) : v_(v) {}
  template <std::integral T>
  requires(!std::same_as<T, bool>) Variant(T v) : v_(static_cast<std::int64_t>(v)) {}
  Variant(double v) : v_(v) {}
  Variant(std::string v) : v_(std::move(v)) {}
  Variant(const char* v) : v_(std::string(v)) {}
  Variant(Oggetto v) : v_(std::move(v)) {}
  template <class T>
  requires std::derived_from<T, Object> Variant(std::shared_ptr<T> v) : v_(Oggetto(std::move(v))) {}

  bool IsEmpty() const { return std::holds_alternative<std::monostate>(v_); }
  bool IsBool() const { return std::holds_alternative<bool>(v_); }
  bool IsInteger() const { return std::holds_alternative<std::int64_t>(v_); }
  bool IsDouble() const { return std::holds_alternative<double>(v_); }
  bool IsText() const { return std::holds_alternative<std::string>(v_); }
  bool IsObject() const { return std::holds_alternative<Oggetto>(v_); }

  // Text form: "" when empty, "True"/"False" for Booleans, the number in the
  // shortest form, the text itself; an object gives "".
  std::string ToText() const;
  // Boolean form: numbers are true when not zero, texts "True"/"False" (any case)
  // or numbers; anything else is false.
  bool ToBool() const;
  // Integer form: Booleans give -1/0, texts are parsed, anything else is 0.
  std::int64_t ToInteger() const;

  Oggetto ToObject() const { return IsObject() ? std::get<Oggetto>(v_) : nullptr; }
  template <class T>
  std::shared_ptr<T> As() const {
    return std::dynamic_pointer_cast<T>(ToObject());
  }

  friend bool operator==(const Variant&, const Variant&) = default;

 private:
  std::variant<std::monostate, bool, std::int64_t, double, std::string, Oggetto> v_;
};

}  // namespace qzkiro::host
