#include "flows/asl/RotteAsl.h"

namespace qzkiro::asl {

void RegistraRotte(core::Rotte& rotte) {
  rotte.FlussoPPIP = op::FlussoPPIP;
  rotte.InviaPDTA = op::InviaPDTA;
  rotte.VerificaPPIP = op::VerificaPPIP;
  rotte.RichiestaPrelievo = op::RichiestaPrelievo;
}

}  // namespace qzkiro::asl
