#pragma once

#include <memory>

#include "host/AccessoHost.h"

namespace qzkiro::core {

// The readers' access to the current process: its host application, clock,
// add-on folder, user interface and log, read from the process's state at
// each call (so it follows a context replaced by a test).
class AccessoContesto : public host::AccessoHost {
 public:
  host::IApplication* Applicazione() const override;
  util::DataOra Adesso() const override;
  std::string FileDelPlugin(const std::string& nome) const override;
  void Avviso(const std::string& testo) const override;
  void Log(const std::string& titolo, const std::string& dettaglio, bool errore) const override;
};

// The shared access to the current process, for the readers the add-on makes.
std::shared_ptr<const host::AccessoHost> AccessoDelContesto();

}  // namespace qzkiro::core
