#pragma once

#include <string>

#include "qzkiro/host/Object.h"
#include "qzkiro/host/Variant.h"

/// \file
/// Host objects whose members are read by name.

namespace qzkiro::host {

/// A host object whose members are read by name, for the objects whose shape
/// only matters member by member (for instance the request of document
/// contents passed to Execute, read for its "Lista").
class IMembri : public Object {
 public:
  /// The value of the member `nome`. Throws Failure when the object has no
  /// such member.
  virtual Variant Membro(const std::string& nome) = 0;
};

}  // namespace qzkiro::host
