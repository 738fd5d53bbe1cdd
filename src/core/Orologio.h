#pragma once

#include <chrono>

#include "util/DataOra.h"

namespace qzkiro::core {

// Every reading of the clock goes through here, so tests can fix the time.
class Orologio {
 public:
  virtual ~Orologio() = default;
  // Local date and time.
  virtual util::DataOra Adesso() const = 0;
  // Coordinated universal time.
  virtual util::DataOra AdessoUTC() const = 0;
  // Lets `durata` pass (a fixed clock just moves on).
  virtual void Attendi(std::chrono::milliseconds durata) = 0;
  // The milliseconds within the current second (0-999); a fixed clock has none.
  virtual int Millisecondi() const { return 0; }
};

class OrologioDiSistema : public Orologio {
 public:
  util::DataOra Adesso() const override;
  util::DataOra AdessoUTC() const override;
  void Attendi(std::chrono::milliseconds durata) override;
  int Millisecondi() const override;
};

class OrologioFisso : public Orologio {
 public:
  // `adesso` is local time; UTC is `scarto_ore` hours behind it.
  explicit OrologioFisso(util::DataOra adesso, int scarto_ore = 1)
      : adesso_(adesso), scarto_ore_(scarto_ore) {}
  util::DataOra Adesso() const override { return adesso_; }
  util::DataOra AdessoUTC() const override;
  void Attendi(std::chrono::milliseconds durata) override;
  void Imposta(util::DataOra adesso) { adesso_ = adesso; }

 private:
  util::DataOra adesso_;
  int scarto_ore_;
};

}  // namespace qzkiro::core
