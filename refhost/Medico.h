#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <vector>

#include "qzkiro/host/Ricetta.h"

namespace qzkiro::refhost {

// The prescribing doctor with the prescription numbers (NRE) of the lots the
// doctor was assigned. Numbers are handed out in the order they were loaded,
// each once.
class Medico : public host::IMedico {
 public:
  Medico() = default;
  explicit Medico(const std::vector<std::string>& lotto) { CaricaLotto(lotto); }

  // Adds the numbers of a lot after those still unused, leaving out empty
  // ones and those already loaded or handed out.
  void CaricaLotto(const std::vector<std::string>& lotto);
  bool RichiediNRE(host::IRicetta& ricetta) override;

  std::size_t Rimasti() const { return disponibili_.size(); }
  // The numbers handed out, oldest first.
  const std::vector<std::string>& Consegnati() const { return consegnati_; }

 private:
  bool Noto(const std::string& nre) const;

  std::deque<std::string> disponibili_;
  std::vector<std::string> consegnati_;
};

}  // namespace qzkiro::refhost
