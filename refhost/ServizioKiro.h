#pragma once

#include <cstdint>
#include <string>

#include "qzkiro/host/Componenti.h"

namespace qzkiro::refhost {

// Where the stand-in host's service component sends HL7 messages: the
// regional gateway (the sandbox's), reached with a client certificate.
struct ConfigServizioKiro {
  std::string url_gateway;  // "https://127.0.0.1:PORT/hl7": the service is appended
  std::string certificato_p12;
  std::string password_p12;
  std::string ca;
  bool rifiuta_avvio = false;  // StartService answers false, as a broken installation
};

// The host service component "QZMwKiroIM.KIRO": posts each HL7 message to
// the gateway and returns its acknowledgement. An "X-Error-Log" header of the
// answer becomes the error log; a gateway out of reach is error log 500.
class ServizioKiro : public host::IServizioHL7 {
 public:
  explicit ServizioKiro(ConfigServizioKiro config) : config_(std::move(config)) {}
  bool StartService() override;
  void StopService() override { avviato_ = false; }
  std::string Send(const std::string& hl7, const std::string& mittente, const std::string& servizio,
                   bool& sincrono, std::int32_t& error_log, std::int32_t& stato) override;
  bool Avviato() const { return avviato_; }

 private:
  ConfigServizioKiro config_;
  bool avviato_ = false;
};

// Registers the component under its name with this configuration; counts
// the components created in `creati` when given.
void RegistraServizioKiro(const ConfigServizioKiro& config, int* creati = nullptr);

}  // namespace qzkiro::refhost
