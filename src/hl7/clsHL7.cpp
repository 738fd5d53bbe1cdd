#include "hl7/clsHL7.h"

#include <functional>

#include "hl7/TestoHL7.h"
#include "util/Testo.h"

namespace qzkiro::hl7 {

bool clsHL7::InitXML(util::clsXML* xml) {
  xml_ = xml;
  corrente_ = xml ? xml->rootNode() : nullptr;
  return xml != nullptr;
}

// --- path lookups -----------------------------------------------------------
// Without a document or a current node every lookup is empty: a null context
// would make clsXML read from the document node instead.

std::string clsHL7::Testo(const std::string& percorso) const {
  return Testo(corrente_, percorso);
}

std::string clsHL7::Testo(Nodo nodo, const std::string& percorso) const {
  if (!xml_ || !nodo) return {};
  return xml_->GetTextNode(nodo, percorso);
}

std::vector<clsHL7::Nodo> clsHL7::Ripetizioni(const std::string& campo) const {
  if (!xml_ || !corrente_) return {};
  return xml_->SelectNodeList(corrente_, campo);
}

std::string clsHL7::DallaPrimaCon(std::string_view campo, std::string_view componente,
                                  std::string_view valore, std::string_view risultato) const {
  // The repetitions are walked in order: each path here is a plain one, which
  // the document follows child by child.
  Nodo trovata =
      PrimaRipetizione(campo, [&](Nodo r) { return Testo(r, std::string(componente)) == valore; });
  return trovata ? Testo(trovata, std::string(risultato)) : std::string();
}

clsHL7::Nodo clsHL7::PrimaRipetizione(std::string_view campo,
                                      const std::function<bool(Nodo)>& scelta) const {
  for (Nodo r : Ripetizioni(std::string(campo))) {
    if (scelta(r)) return r;
  }
  return nullptr;
}

// --- patient demographics ---------------------------------------------------

std::string clsHL7::Cognome() const {
  return Testo("PID/PID.5/XPN.1/FN.1");
}

std::string clsHL7::Nome() const {
  return Testo("PID/PID.5/XPN.2");
}

std::string clsHL7::Sesso() const {
  return Testo("PID/PID.8");
}

std::string clsHL7::DataNascita() const {
  return Testo("PID/PID.7/TS.1");
}

std::string clsHL7::Paziente() const {
  std::string paziente = util::Trim(Cognome() + " " + Nome());
  const std::string nascita = DataNascita();
  if (!nascita.empty()) paziente += " (" + accesso_->ValoreData(nascita) + ")";
  return paziente;
}

std::string clsHL7::Telefono() const {
  if (Versione251()) return DallaPrimaCon("PID/PID.13", "XTN.3", "PH", "XTN.12");
  return Testo("PID/PID.13/XTN.7");
}

std::string clsHL7::Cellulare() const {
  if (Versione251()) return DallaPrimaCon("PID/PID.13", "XTN.3", "CP", "XTN.12");
  return {};
}

std::string clsHL7::Email() const {
  if (Versione251()) return DallaPrimaCon("PID/PID.13", "XTN.3", "NET", "XTN.12");
  return Testo("PID/PID.13/XTN.4");
}

std::string clsHL7::Nazionalita() const {
  if (!Versione251()) return Testo("PID/PID.26/CE.2");
  const std::string codice = CodiceIstat(Testo("PID/PID.26/CE.1"));
  if (codice.empty()) return {};
  const auto comune = accesso_->ComuneIstat(codice);
  return comune ? comune->Comune : std::string();
}

// --- identifiers of the patient ---------------------------------------------

std::string clsHL7::CodiceFiscale() const {
  // The last "CF" identifier; the last "NNITA" one when there is none.
  std::string cf, nnita;
  for (Nodo r : Ripetizioni("PID/PID.3")) {
    const std::string tipo = Testo(r, "CX.5");
    if (tipo == "CF") cf = Testo(r, "CX.1");
    if (tipo == "NNITA") nnita = Testo(r, "CX.1");
  }
  return cf.empty() ? nnita : cf;
}

std::string clsHL7::Tessera() const {
  return DallaPrimaCon("PID/PID.3", "CX.5", "CS", "CX.1");
}

std::string clsHL7::MPI() const {
  return DallaPrimaCon("PID/PID.3", "CX.5", "MPI", "CX.1");
}

std::string clsHL7::RegioneASLAssistenza() const {
  if (Versione251()) {
    return CodiceUnitaSanitaria(DallaPrimaCon("PD1/PD1.3", "XON.7", "ULSSASS", "XON.9"));
  }
  return CodiceUnitaSanitaria(DallaPrimaCon("PID/PID.3", "CX.5", "CS", "CX.4/HD.1"));
}

std::string clsHL7::RegioneASLResidenza() const {
  if (Versione251()) {
    return CodiceUnitaSanitaria(DallaPrimaCon("GT1/GT1.21", "XON.7", "ULSSRES", "XON.6/HD.1"));
  }
  return CodiceUnitaSanitaria(DallaPrimaCon("PID/PID.3", "CX.5", "AUSLAPPART", "CX.4/HD.1"));
}

}  // namespace qzkiro::hl7
