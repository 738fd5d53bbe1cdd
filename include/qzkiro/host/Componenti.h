#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "qzkiro/host/Object.h"

namespace qzkiro::host {

// Components the host installs and the add-on creates by name, as the
// platform creates objects by ProgID. The host registers a factory per name.
using FabbricaComponente = std::function<std::shared_ptr<Object>()>;
void RegistraComponente(const std::string& nome, FabbricaComponente fabbrica);
void RimuoviComponente(const std::string& nome);
// A new component; null when nothing is registered under that name.
std::shared_ptr<Object> CreaComponente(const std::string& nome);

// The host-side service component that carries the regional HL7 messages
// ("QZMwKiroIM.KIRO").
class IServizioHL7 : public Object {
 public:
  virtual bool StartService() = 0;
  virtual void StopService() = 0;
  // Sends one HL7 message; answers the acknowledgement text ("" for none) and
  // sets the error log (0: none) and the status of the exchange.
  virtual std::string Send(const std::string& hl7, const std::string& mittente,
                           const std::string& servizio, bool& sincrono, std::int32_t& error_log,
                           std::int32_t& stato) = 0;
};

inline constexpr const char* kProgIdServizioHL7 = "QZMwKiroIM.KIRO";

}  // namespace qzkiro::host
