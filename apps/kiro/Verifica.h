#pragma once

#include <ostream>
#include <string>

namespace qzkiro::kiro {

// Counts the steps that did not do what they should.
class Verifica {
 public:
  explicit Verifica(std::ostream& out) : out_(out) {}
  void operator()(bool ok, const std::string& passo) {
    out_ << (ok ? "  [ok]   " : "  [ERR]  ") << passo << '\n';
    if (!ok) ++errori_;
  }
  int Errori() const { return errori_; }

 private:
  std::ostream& out_;
  int errori_ = 0;
};

}  // namespace qzkiro::kiro
