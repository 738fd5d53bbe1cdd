// The regional patient registry (SAIA): every patient of the answer with
// registry data, GP relationship and exemptions.

#include "services/regione/RotteRegione.h"
#include "services/regione/BloccoPaziente.h"
#include "services/regione/ServiziRegionali.h"

namespace qzkiro::regione {

using hl7::clsHL7;

namespace {

bool Assistito(clsHL7& l, host::IInput& risultato) {
  return !BloccoPaziente(l, risultato, {true, false, true, {}}).IsEmpty();
}

}  // namespace

}  // namespace qzkiro::regione

namespace qzkiro::op {

bool InterrogaAnagraficaHL7(Collection&, Variant& Template) {
  return regione::EseguiServizio(regione::servizio::kSAIA, Template, regione::Assistito);
}

bool ElencoAssistitiHL7(Collection&, Variant& Template) {
  return regione::EseguiServizio(regione::servizio::kSAIA, Template, regione::Assistito);
}

bool InviaSAASN(Variant& Template) {
  return regione::EseguiServizio(regione::servizio::kSAASN, Template);
}

}  // namespace qzkiro::op
