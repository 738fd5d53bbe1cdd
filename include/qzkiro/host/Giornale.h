#pragma once

#include <string>

namespace qzkiro::host {

// The host's journal: the record of what was done on this workstation, kept
// by the host and shown to the doctor and to support staff.
class IGiornale {
 public:
  virtual ~IGiornale() = default;
  // Writes one entry, stamped by the host with the time and the user.
  virtual void ScriviGiornaleMacchina(const std::string& testo) = 0;
};

}  // namespace qzkiro::host
