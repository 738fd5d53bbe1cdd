// Stand-ins for the routines of modules that do not exist yet (see
// Operazioni.h). Each answers its empty result and leaves the same message.

#include "core/Contesto.h"
#include "core/Operazioni.h"

#pragma GCC diagnostic ignored "-Wunused-parameter"

namespace qzkiro::op {

namespace {

// Holds the identity service's place until it exists: every request fails.
class ServizioAsserzioneAssente : public core::ServizioAsserzione {
 public:
  bool AggiornaAsserzione(clsItemAsserzione&) override { return false; }
  void EliminaAsserzione(const clsItemAsserzione&) override {}
  std::shared_ptr<clsItemAsserzione> NuovaAsserzione(const std::string&, const std::string&,
                                                     const std::string&,
                                                     const std::string&) override {
    return nullptr;
  }
  bool UpdatePassword(clsItemAsserzione&) override { return false; }
  std::string LastError() const override { return core::kServizioNonImplementato; }
};

}  // namespace

std::shared_ptr<core::ServizioAsserzione> CreaServizioAsserzione() {
  return std::make_shared<ServizioAsserzioneAssente>();
}

#define QZKIRO_NON_IMPLEMENTATO(result, name, params)        \
  result name params {                                       \
    core::Ctx().last_error = core::kServizioNonImplementato; \
    return result{};                                         \
  }
QZKIRO_OPERAZIONI_NON_IMPLEMENTATE(QZKIRO_NON_IMPLEMENTATO)
#undef QZKIRO_NON_IMPLEMENTATO

}  // namespace qzkiro::op
