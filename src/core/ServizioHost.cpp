#include "core/ServizioHost.h"

#include "core/modLog.h"

namespace qzkiro::core {

bool AvviaServizioHost(Contesto& c) {
  if (c.simulatore) return true;
  if (c.servizio_host) return true;
  modLog::Log(c, "StartService", "", false, "");
  auto servizio =
      std::dynamic_pointer_cast<host::IServizioHL7>(host::CreaComponente(host::kProgIdServizioHL7));
  if (!servizio || !servizio->StartService()) return false;
  c.servizio_host = std::move(servizio);
  return true;
}

void FermaServizioHost(Contesto& c) {
  if (!c.servizio_host) return;
  modLog::Log(c, "StopService", "", false, "");
  c.servizio_host->StopService();
  c.servizio_host.reset();
}

}  // namespace qzkiro::core
