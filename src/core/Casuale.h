#pragma once

#include <cstdint>
#include <random>

namespace qzkiro::core {

// Every random value of the add-on (nonces, message identifiers) comes from
// here, so tests can make them repeatable.
class Casuale {
 public:
  virtual ~Casuale() = default;
  virtual std::uint32_t Prossimo() = 0;
  // Uniform in [0, n).
  std::uint32_t Entro(std::uint32_t n);
};

// The operating system's cryptographic generator.
class CasualeDiSistema : public Casuale {
 public:
  std::uint32_t Prossimo() override;
};

// A repeatable sequence for tests.
class CasualeFisso : public Casuale {
 public:
  explicit CasualeFisso(std::uint32_t seme) : motore_(seme) {}
  std::uint32_t Prossimo() override { return static_cast<std::uint32_t>(motore_()); }

 private:
  std::mt19937 motore_;
};

}  // namespace qzkiro::core
