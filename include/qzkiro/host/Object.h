#pragma once

namespace qzkiro::host {

// Base of every host object that travels inside a Variant (patients, templates,
// result containers, collections). The add-on reaches the concrete kind with
// dynamic_pointer_cast, as a late-bound call would.
class Object {
 public:
  virtual ~Object() = default;
};

}  // namespace qzkiro::host
