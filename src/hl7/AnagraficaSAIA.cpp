// The regional patient registry (SAIA): every patient of the answer with
// registry data, GP relationship and exemptions.

#include "core/Operazioni.h"
#include "hl7/BloccoPaziente.h"
#include "hl7/ServiziRegionali.h"

namespace qzkiro::hl7 {

namespace {

bool Assistito(clsHL7& l, host::IInput& risultato) {
  return !BloccoPaziente(l, risultato, {true, false, true, {}}).IsEmpty();
}

}  // namespace

}  // namespace qzkiro::hl7

namespace qzkiro::op {

bool InterrogaAnagraficaHL7(Collection&, Variant& Template) {
  return hl7::EseguiServizio(hl7::servizio::kSAIA, Template, hl7::Assistito);
}

bool ElencoAssistitiHL7(Collection&, Variant& Template) {
  return hl7::EseguiServizio(hl7::servizio::kSAIA, Template, hl7::Assistito);
}

bool InviaSAASN(Variant& Template) {
  return hl7::EseguiServizio(hl7::servizio::kSAASN, Template);
}

}  // namespace qzkiro::op
