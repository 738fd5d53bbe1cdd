#pragma once

#include <string>

#include "qzkiro/host/Object.h"

/// \file
/// The notifications the host hands to Plugin::QZ03001.

namespace qzkiro::host {

/// A notification the host received from the regional services and hands to
/// QZ03001 to open what it points to.
class INotifica : public Object {
 public:
  /// Notification type ("RIC", "SRF", "kiro_cc001", ...).
  virtual std::string t1() = 0;
  /// The first reference: for a health-record notification ("kiro_cc...")
  /// the document's unique id.
  virtual std::string IDRif1() = 0;
  /// The second reference: the admission's or report's id for a regional
  /// notification, the repository's id for a health-record one.
  virtual std::string IDRif2() = 0;
  /// The notification's description; the title of a health-record document
  /// it opens.
  virtual std::string Descrizione() = 0;
};

}  // namespace qzkiro::host
