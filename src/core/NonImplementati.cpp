// Stand-ins for the routines of modules that do not exist yet (see
// Operazioni.h). Each answers its empty result and leaves the same message.

#include "core/Contesto.h"
#include "core/Operazioni.h"

#pragma GCC diagnostic ignored "-Wunused-parameter"

namespace qzkiro::op {

#define QZKIRO_NON_IMPLEMENTATO(result, name, params)        \
  result name params {                                       \
    core::Ctx().last_error = core::kServizioNonImplementato; \
    return result{};                                         \
  }
QZKIRO_OPERAZIONI_NON_IMPLEMENTATE(QZKIRO_NON_IMPLEMENTATO)
#undef QZKIRO_NON_IMPLEMENTATO

}  // namespace qzkiro::op
