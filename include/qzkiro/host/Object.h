#pragma once

/// \file
/// The common base of the host objects that travel inside a Variant.

/// The host object model: the abstract interfaces a host implements for the
/// add-on (IApplication and everything reached from it) and the small value
/// types the members exchange (Variant, Collection). Unless a member says
/// otherwise, a failing host call throws qzkiro::Failure.
namespace qzkiro::host {

/// Base of every host object that travels inside a Variant (patients, templates,
/// result containers, collections). The add-on reaches the concrete kind with
/// dynamic_pointer_cast, as a late-bound call would.
class Object {
 public:
  /// Host objects are held and released through std::shared_ptr<Object>.
  virtual ~Object() = default;
};

}  // namespace qzkiro::host
