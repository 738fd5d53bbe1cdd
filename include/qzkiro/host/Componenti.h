#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "qzkiro/host/Object.h"

/// \file
/// Host components created by name, and the host's HL7 service component.

namespace qzkiro::host {

/// Components the host installs and the add-on creates by name, as the
/// platform creates objects by ProgID. The host registers a factory per name.
using FabbricaComponente = std::function<std::shared_ptr<Object>()>;
/// Registers the factory of the component `nome` for the whole process,
/// replacing any earlier one.
void RegistraComponente(const std::string& nome, FabbricaComponente fabbrica);
/// Forgets the factory of the component `nome`.
void RimuoviComponente(const std::string& nome);
/// A new component; null when nothing is registered under that name.
std::shared_ptr<Object> CreaComponente(const std::string& nome);

/// The host-side service component that carries the regional HL7 messages
/// ("QZMwKiroIM.KIRO"). The add-on creates it (CreaComponente with
/// kProgIdServizioHL7) before the first regional message, unless the
/// simulator answers, and keeps it until the Plugin is destroyed.
class IServizioHL7 : public Object {
 public:
  /// Starts the service; false when it cannot, and the message is not sent.
  virtual bool StartService() = 0;
  /// Stops the service; called once when the add-on ends.
  virtual void StopService() = 0;
  /// Sends one HL7 message; answers the acknowledgement text ("" for none) and
  /// sets the error log (0: none) and the status of the exchange.
  /// `mittente` is the user's fiscal code and `servizio` the regional
  /// service's code ("SAIN", "SARR", ...).
  virtual std::string Send(const std::string& hl7, const std::string& mittente,
                           const std::string& servizio, bool& sincrono, std::int32_t& error_log,
                           std::int32_t& stato) = 0;
};

/// The name the HL7 service component is registered under.
inline constexpr const char* kProgIdServizioHL7 = "QZMwKiroIM.KIRO";

}  // namespace qzkiro::host
