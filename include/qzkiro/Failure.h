#pragma once

#include <stdexcept>
#include <string>

/// \file
/// The numbered run-time failure that host calls throw.

/// Everything the add-on offers to its host: the entry class Plugin, the
/// assertion item, the forms' plain classes and the failure type.
namespace qzkiro {

/// A run-time failure with a number and a description, as a host call raises it.
/// Thrown by host implementations and by the add-on's internals; caught at the
/// boundary of every public member.
class Failure : public std::runtime_error {
 public:
  /// A failure with its `number` and `description` (also what() answers).
  Failure(long number, const std::string& description)
      : std::runtime_error(description), number_(number) {}
  /// The failure's number (kMembroNonSupportato for a member the object lacks).
  long Number() const { return number_; }
  /// The failure's description, the same text as what().
  std::string Description() const { return what(); }

 private:
  long number_;
};

/// Number used for a member the host object does not offer (a late-bound call
/// on the wrong object).
inline constexpr long kMembroNonSupportato = 438;

}  // namespace qzkiro
