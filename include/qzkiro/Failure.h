#pragma once

#include <stdexcept>
#include <string>

namespace qzkiro {

// A run-time failure with a number and a description, as a host call raises it.
// Thrown by host implementations and by the add-on's internals; caught at the
// boundary of every public member.
class Failure : public std::runtime_error {
 public:
  Failure(long number, const std::string& description)
      : std::runtime_error(description), number_(number) {}
  long Number() const { return number_; }
  std::string Description() const { return what(); }

 private:
  long number_;
};

// Number used for a member the host object does not offer (a late-bound call
// on the wrong object).
inline constexpr long kMembroNonSupportato = 438;

}  // namespace qzkiro
