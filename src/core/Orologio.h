#pragma once

#include "util/DataOra.h"

namespace qzkiro::core {

// Every reading of the clock goes through here, so tests can fix the time.
class Orologio {
 public:
  virtual ~Orologio() = default;
  // Local date and time.
  virtual util::DataOra Adesso() const = 0;
};

class OrologioDiSistema : public Orologio {
 public:
  util::DataOra Adesso() const override;
};

class OrologioFisso : public Orologio {
 public:
  explicit OrologioFisso(util::DataOra adesso) : adesso_(adesso) {}
  util::DataOra Adesso() const override { return adesso_; }
  void Imposta(util::DataOra adesso) { adesso_ = adesso; }

 private:
  util::DataOra adesso_;
};

}  // namespace qzkiro::core
