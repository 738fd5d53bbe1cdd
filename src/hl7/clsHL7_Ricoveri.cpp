#include "hl7/TabelleHL7.h"
#include "hl7/clsHL7.h"

namespace qzkiro::hl7 {

// --- identifiers, prescriptions, exemptions ---------------------------------

std::string clsHL7::ID() const {
  std::string id = Testo("PV2/PV2.2/CE.1");
  return id.empty() ? Testo("OBX/OBX.3/CE.1") : id;
}

std::string clsHL7::IDPrescrizione() const {
  std::string id = Testo("TXA/TXA.14/EI.1");
  if (id.empty()) id = Testo("PV1/PV1.50/CX.1");
  if (id.empty()) id = Testo("ORC/ORC.2/EI.1");
  return id;
}

std::string clsHL7::IDReferto() const {
  return Testo("ORC/ORC.3/EI.1");
}

std::vector<clsHL7::Nodo> clsHL7::ListaEsenzioni() const {
  return Ripetizioni("PV1/PV1.20");
}

std::string clsHL7::CodiceEsenzione(Nodo esenzione) const {
  return Testo(esenzione, "FC.1");
}

std::string clsHL7::DataScadenzaEsenzione(Nodo esenzione) const {
  std::string data = Testo(esenzione, "FC.2/TS.1");
  if (data.starts_with("9999") || data.starts_with("3000")) return {};  // never expires
  return data;
}

std::string clsHL7::StatoPrescrizione() const {
  return tabelle::StatoPrescrizione(Testo("ORC/ORC.5"));
}

std::string clsHL7::StatoPrescrizioneDema() const {
  return tabelle::StatoPrescrizioneDema(Testo("TXA/TXA.20"));
}

std::string clsHL7::DataPrescrizione() const {
  return Testo("ORC/ORC.9/TS.1");
}

std::string clsHL7::DataVisita() const {
  return Testo("OBR/OBR.7/TS.1");
}

std::string clsHL7::Oggetto() const {
  return DallaPrimaCon("OBX", "OBX.2", "TX", "OBX.5");
}

// --- admissions and visits --------------------------------------------------

std::string clsHL7::RegimeRicovero() const {
  const std::string regime = Testo("PV1/PV1.2");
  if (regime == "O") return "Ricovero Ordinario";
  if (regime == "D") return "Ricovero in Day Hospital";
  return "Ricovero";
}

bool clsHL7::DayHospital() const {
  return Testo("PV1/PV1.2") == "D";
}

std::string clsHL7::PropostaDiRicovero() const {
  return tabelle::PropostaDiRicovero(Testo("PV1/PV1.4"));
}

std::string clsHL7::TipoRicovero() const {
  return tabelle::TipoRicovero(Testo("PV1/PV1.18"));
}

std::string clsHL7::Struttura() const {
  return Testo("PV1/PV1.3/PL.4/HD.1");
}

std::string clsHL7::Reparto() const {
  return Testo("PV1/PV1.3/PL.9");
}

std::string clsHL7::StrutturaRefertante() const {
  return Testo("OBX/OBX.15/CE.2");
}

std::string clsHL7::CodiceNosologico() const {
  return Testo("PV1/PV1.19/CX.1");
}

std::string clsHL7::ModalitaDimissione() const {
  return tabelle::ModalitaDimissione(Testo("PV1/PV1.36"));
}

std::string clsHL7::MotivoRicovero() const {
  return Testo("PV2/PV2.12");
}

std::string clsHL7::MotivoVisita() const {
  return Testo("PV2/PV2.12");
}

std::string clsHL7::TipoVisita() const {
  return Testo("PV2/PV2.3/CE.2");
}

std::string clsHL7::Mobilita() const {
  return tabelle::Mobilita(Testo("PV1/PV1.15"));
}

std::string clsHL7::TipoPaziente() const {
  return tabelle::TipoPaziente(Testo("PV1/PV1.18"));
}

std::string clsHL7::MotivoFineCarico() const {
  return tabelle::MotivoFineCarico(Testo("PV1/PV1.36"));
}

std::string clsHL7::DataRicovero() const {
  return Testo("PV1/PV1.44/TS.1");
}

std::string clsHL7::DataDimissione() const {
  return Testo("PV1/PV1.45/TS.1");
}

// The diagnosis of the first DG1 segment of this type ("A" admission, "F"
// final) that names one.
std::string clsHL7::DiagnosiDaDG1(std::string_view tipo) const {
  for (Nodo diagnosi : Ripetizioni("DG1")) {
    std::string testo = Testo(diagnosi, "DG1.3/CE.2");
    if (!testo.empty() && Testo(diagnosi, "DG1.6") == tipo) return testo;
  }
  return {};
}

std::string clsHL7::DiagnosiRicovero() const {
  std::string diagnosi = Testo("PV2/PV2.3/CE.2");
  return diagnosi.empty() ? DiagnosiDaDG1("A") : diagnosi;
}

std::string clsHL7::DiagnosiDimissione() const {
  std::string diagnosi = Testo("PV2/PV2.4/CE.2");
  return diagnosi.empty() ? DiagnosiDaDG1("F") : diagnosi;
}

}  // namespace qzkiro::hl7
