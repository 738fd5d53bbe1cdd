#include "hl7/clsHL7.h"
#include "util/Testo.h"

namespace qzkiro::hl7 {

namespace {

// Fields that name a physician (XCN repetitions).
constexpr std::string_view kMedicoSSN = "PV1/PV1.7";
constexpr std::string_view kMedicoREF = "PV1/PV1.8";
constexpr std::string_view kMedicoPrescrittore = "ORC/ORC.12";

std::string Unisci(const std::string& cognome, const std::string& nome) {
  return util::Trim(cognome + " " + nome);
}

}  // namespace

// A physician is named by the first repetition identified by a national or
// fiscal code.
std::string clsHL7::DalMedico(std::string_view campo, std::string_view componente) const {
  Nodo medico = PrimaRipetizione(campo, [&](Nodo r) {
    const std::string tipo = Testo(r, "XCN.13");
    return tipo == "NNITA" || tipo == "CF";
  });
  return medico ? Testo(medico, std::string(componente)) : std::string();
}

std::string clsHL7::MedicoSSNCognome() const {
  return DalMedico(kMedicoSSN, "XCN.2/FN.1");
}
std::string clsHL7::MedicoSSNNome() const {
  return DalMedico(kMedicoSSN, "XCN.3");
}
std::string clsHL7::MedicoSSNCodiceFiscale() const {
  return DalMedico(kMedicoSSN, "XCN.1");
}

std::string clsHL7::MedicoREFCognome() const {
  return DalMedico(kMedicoREF, "XCN.2/FN.1");
}
std::string clsHL7::MedicoREFNome() const {
  return DalMedico(kMedicoREF, "XCN.3");
}
std::string clsHL7::MedicoREFCodiceFiscale() const {
  return DalMedico(kMedicoREF, "XCN.1");
}
std::string clsHL7::MedicoREFRuolo() const {
  return DalMedico(kMedicoREF, "XCN.7");
}
std::string clsHL7::MedicoREFCodiceAUSL() const {
  return DallaPrimaCon(kMedicoREF, "XCN.13", "CODMAT", "XCN.9/HD.1");
}

std::string clsHL7::MedicoPrescrittoreCognome() const {
  return DalMedico(kMedicoPrescrittore, "XCN.2/FN.1");
}
std::string clsHL7::MedicoPrescrittoreNome() const {
  return DalMedico(kMedicoPrescrittore, "XCN.3");
}
std::string clsHL7::MedicoPrescrittoreCodiceFiscale() const {
  return DalMedico(kMedicoPrescrittore, "XCN.1");
}
std::string clsHL7::MedicoPrescrittoreRuolo() const {
  return DalMedico(kMedicoPrescrittore, "XCN.7");
}
std::string clsHL7::MedicoPrescrittoreCodiceAUSL() const {
  return DallaPrimaCon(kMedicoPrescrittore, "XCN.13", "CODMAT", "XCN.9/HD.1");
}

std::string clsHL7::MedicoREF() const {
  std::string testo;
  const auto riga = [&](const std::string& etichetta, const std::string& valore) {
    if (!valore.empty()) testo += etichetta + valore + "\r\n";
  };
  riga("Medico: ", Unisci(MedicoREFCognome(), MedicoREFNome()));
  riga("CF: ", MedicoREFCodiceFiscale());
  riga("AUSL Appartenenza: ", MedicoREFCodiceAUSL());
  riga("Ruolo: ", MedicoREFRuolo());
  if (!testo.empty()) testo.resize(testo.size() - 2);
  return testo;
}

std::string clsHL7::MedicoRapportoCognome() const {
  return Testo("GT1/GT1.3/XPN.1/FN.1");
}
std::string clsHL7::MedicoRapportoNome() const {
  return Testo("GT1/GT1.3/XPN.2/ST.1");
}
std::string clsHL7::MedicoRapportoCodiceRegionale() const {
  return DallaPrimaCon("GT1/GT1.2", "CX.5", "CREG", "CX.1");
}
std::string clsHL7::DataInizioRapporto() const {
  return Testo("GT1/GT1.13");
}
std::string clsHL7::DataFineRapporto() const {
  return Testo("GT1/GT1.14");
}

std::string clsHL7::MedicoPrescrittoreRicovero() const {
  return Unisci(Testo("PV1/PV1.8/XCN.2/FN.1"), Testo("PV1/PV1.8/XCN.3"));
}
std::string clsHL7::MedicoAccertanteRicovero() const {
  return Unisci(Testo("PV1/PV1.17/XCN.2/FN.1"), Testo("PV1/PV1.17/XCN.3"));
}

// --- consent ------------------------------------------------------------------

std::string clsHL7::ConsensoLivello() const {
  return Testo("NK1/NK1.22/CE.1");
}
std::string clsHL7::ConsensoDataInizio() const {
  return Testo("NK1/NK1.8");
}
std::string clsHL7::ConsensoDataFine() const {
  return Testo("NK1/NK1.9");
}
std::string clsHL7::ConsensoRaccoltoDa() const {
  return Testo("NK1/NK1.7/CE.1");
}

std::string clsHL7::ConsensoData() const {
  // A level between "0" and "9" in text order, or "N", dates from the start.
  const std::string livello = ConsensoLivello();
  const bool da_inizio = (livello >= "0" && livello <= "9") || livello == "N";
  return da_inizio ? ConsensoDataInizio() : ConsensoDataFine();
}

}  // namespace qzkiro::hl7
