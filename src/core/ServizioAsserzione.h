#pragma once

#include <memory>
#include <string>

#include "qzkiro/clsItemAsserzione.h"

namespace qzkiro::core {

// The identity service as the transports use it when a service refuses an
// assertion: renew it, replace it, or change an expired password. One
// instance per process, created at class initialisation.
class ServizioAsserzione {
 public:
  virtual ~ServizioAsserzione() = default;
  // Asks a fresh assertion for the item's service and context.
  virtual bool AggiornaAsserzione(clsItemAsserzione& item) = 0;
  virtual void EliminaAsserzione(const clsItemAsserzione& item) = 0;
  // A new assertion for a service and context; null on failure.
  virtual std::shared_ptr<clsItemAsserzione> NuovaAsserzione(
      const std::string& servizio, const std::string& contesto, const std::string& cf_paziente,
      const std::string& cf_responsabile) = 0;
  // Changes the expired password of the item's user.
  virtual bool UpdatePassword(clsItemAsserzione& item) = 0;
  virtual std::string LastError() const = 0;
};

}  // namespace qzkiro::core
