#pragma once

#include <string>

#include "qzkiro/host/Object.h"

namespace qzkiro::host {

// A notification the host received from the regional services and hands to
// QZ03001 to open what it points to.
class INotifica : public Object {
 public:
  // Notification type ("RIC", "SRF", "kiro_cc001", ...).
  virtual std::string t1() = 0;
  virtual std::string IDRif1() = 0;
  virtual std::string IDRif2() = 0;
  virtual std::string Descrizione() = 0;
};

}  // namespace qzkiro::host
