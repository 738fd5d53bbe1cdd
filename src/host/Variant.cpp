#include "qzkiro/host/Variant.h"

#include <strings.h>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace qzkiro::host {

namespace {

bool ParseInteger(const std::string& text, std::int64_t& out) {
  auto first = text.data();
  auto last = text.data() + text.size();
  while (first < last && *first == ' ') ++first;
  while (last > first && last[-1] == ' ') --last;
  if (first < last && *first == '+') ++first;
  auto [end, ec] = std::from_chars(first, last, out);
  return ec == std::errc() && end == last && first != last;
}

std::string DoubleText(double v) {
  if (std::isfinite(v) && v == std::floor(v) && std::fabs(v) < 1e15) {
    return std::to_string(static_cast<std::int64_t>(v));
  }
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.15g", v);
  return buffer;
}

}  // namespace

std::string Variant::ToText() const {
  if (IsBool()) return std::get<bool>(v_) ? "True" : "False";
  if (IsInteger()) return std::to_string(std::get<std::int64_t>(v_));
  if (IsDouble()) return DoubleText(std::get<double>(v_));
  if (IsText()) return std::get<std::string>(v_);
  return {};
}

bool Variant::ToBool() const {
  if (IsBool()) return std::get<bool>(v_);
  if (IsInteger()) return std::get<std::int64_t>(v_) != 0;
  if (IsDouble()) return std::get<double>(v_) != 0.0;
  if (IsText()) {
    const auto& t = std::get<std::string>(v_);
    if (strcasecmp(t.c_str(), "true") == 0) return true;
    std::int64_t n = 0;
    return ParseInteger(t, n) && n != 0;
  }
  return false;
}

std::int64_t Variant::ToInteger() const {
  if (IsBool()) return std::get<bool>(v_) ? -1 : 0;
  if (IsInteger()) return std::get<std::int64_t>(v_);
  if (IsDouble()) return static_cast<std::int64_t>(std::llround(std::get<double>(v_)));
  if (IsText()) {
    std::int64_t n = 0;
    return ParseInteger(std::get<std::string>(v_), n) ? n : 0;
  }
  return 0;
}

}  // namespace qzkiro::host
