#pragma once

#include <string>

/// \file
/// The host's journal of the workstation.

namespace qzkiro::host {

/// The host's journal: the record of what was done on this workstation, kept
/// by the host and shown to the doctor and to support staff.
class IGiornale {
 public:
  virtual ~IGiornale() = default;
  /// Writes one entry, stamped by the host with the time and the user. The
  /// add-on notes there the PDTA files it sends or saves.
  virtual void ScriviGiornaleMacchina(const std::string& testo) = 0;
};

}  // namespace qzkiro::host
