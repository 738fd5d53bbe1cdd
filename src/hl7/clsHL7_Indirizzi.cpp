#include <cctype>

#include "hl7/TestoHL7.h"
#include "hl7/clsHL7.h"
#include "util/Testo.h"

namespace qzkiro::hl7 {

namespace {

// Address types of "XAD.7".
constexpr std::string_view kDomicilio = "H";
constexpr std::string_view kResidenza = "L";
constexpr std::string_view kNascita = "BR";
constexpr std::string_view kNascita251 = "N";
constexpr std::string_view kNascitaEstero251 = "F";

bool Cifra(char c) {
  return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// A separator made of a blank and a digit: the digit belongs to the number.
bool SpazioCifra(std::string_view separatore) {
  return separatore.size() == 2 && separatore[0] == ' ' && Cifra(separatore[1]);
}

}  // namespace

// --- one address of the patient ---------------------------------------------

std::string clsHL7::DellIndirizzo(std::string_view tipo, std::string_view componente) const {
  return DallaPrimaCon("PID/PID.11", "XAD.7", tipo, componente);
}

std::string clsHL7::ViaOCivico(std::string_view tipo, bool civico) const {
  if (Versione251()) return DellIndirizzo(tipo, civico ? "XAD.1/SAD.3" : "XAD.1/SAD.2");
  std::string via, numero;
  SeparaIndirizzo(DellIndirizzo(tipo, "XAD.1"), via, numero);
  return civico ? numero : via;
}

std::string clsHL7::CittaIstat(std::string_view tipo) const {
  if (!Versione251()) return DellIndirizzo(tipo, "XAD.3");
  const std::string codice = CodiceIstat(DellIndirizzo(tipo, "XAD.3"));
  if (codice.empty()) return {};
  const auto comune = accesso_->ComuneIstat(codice);
  return comune ? comune->Comune : std::string();
}

std::string clsHL7::ProvinciaIstat(std::string_view tipo) const {
  if (!Versione251()) return DellIndirizzo(tipo, "XAD.4");
  const std::string codice = CodiceIstat(DellIndirizzo(tipo, "XAD.3"));
  if (codice.empty()) return {};
  const auto comune = accesso_->ComuneIstat(codice);
  return comune ? comune->Provincia : std::string();
}

std::string clsHL7::IndirizzoDomicilio() const {
  return ViaOCivico(kDomicilio, false);
}
std::string clsHL7::CivicoDomicilio() const {
  return ViaOCivico(kDomicilio, true);
}
std::string clsHL7::CittaDomicilio() const {
  return CittaIstat(kDomicilio);
}
std::string clsHL7::ProvinciaDomicilio() const {
  return ProvinciaIstat(kDomicilio);
}
std::string clsHL7::CAPDomicilio() const {
  return DellIndirizzo(kDomicilio, "XAD.5");
}
std::string clsHL7::IstatDomicilio() const {
  return DellIndirizzo(kDomicilio, Versione251() ? "XAD.3" : "XAD.9");
}

std::string clsHL7::IndirizzoResidenza() const {
  return ViaOCivico(kResidenza, false);
}
std::string clsHL7::CivicoResidenza() const {
  return ViaOCivico(kResidenza, true);
}
std::string clsHL7::CittaResidenza() const {
  return CittaIstat(kResidenza);
}
std::string clsHL7::ProvinciaResidenza() const {
  return ProvinciaIstat(kResidenza);
}
std::string clsHL7::CAPResidenza() const {
  return DellIndirizzo(kResidenza, "XAD.5");
}
std::string clsHL7::IstatResidenza() const {
  return DellIndirizzo(kResidenza, Versione251() ? "XAD.3" : "XAD.9");
}

// --- birth place ------------------------------------------------------------

std::string clsHL7::IstatNascita() const {
  if (Versione251()) return DellIndirizzo(kNascita251, "XAD.3");
  return DellIndirizzo(kNascita, "XAD.9");
}

std::string clsHL7::CodiceNascita251() const {
  return CodiceIstat(DellIndirizzo(kNascita251, "XAD.3"));
}

std::optional<host::VoceComune> clsHL7::StatoDiNascita251() const {
  const std::string catastale = DellIndirizzo(kNascitaEstero251, "XAD.3");
  if (catastale.empty()) return std::nullopt;
  return accesso_->ComuneCatastale(catastale);
}

std::string clsHL7::CittaNascita() const {
  if (!Versione251()) return DellIndirizzo(kNascita, "XAD.3");
  const std::string codice = CodiceNascita251();
  if (codice.empty()) return {};
  std::string nome = ComuneDaIstat(codice, DataNascita());
  if (nome.empty()) {
    if (auto comune = accesso_->ComuneIstat(codice, DataHL7(DataNascita()))) {
      nome = comune->Comune;
    }
  }
  // Born abroad: the state is named by the cadastral code of the "F" address.
  if (codice.starts_with("999")) {
    if (auto stato = StatoDiNascita251()) nome = stato->Comune;
  }
  return nome;
}

std::string clsHL7::ProvinciaNascita() const {
  if (Versione251()) {
    const std::string codice = CodiceNascita251();
    if (codice.empty()) return {};
    std::string provincia;
    if (auto comune = accesso_->ComuneIstat(codice, DataHL7(DataNascita()))) {
      provincia = comune->Provincia;
    }
    if (codice.starts_with("999")) {
      if (auto stato = StatoDiNascita251()) provincia = stato->Provincia;
    }
    return provincia;
  }
  std::string provincia = DellIndirizzo(kNascita, "XAD.4");
  if (!provincia.empty() || CittaNascita().empty()) return provincia;
  // The birth place inside the fiscal code: characters 12 to 15.
  const std::string cf = CodiceFiscale();
  const std::string catastale = cf.size() > 11 ? cf.substr(11, 4) : std::string();
  if (catastale.empty()) return provincia;
  if (catastale.front() == 'Z') return "EE";
  const auto comune = accesso_->ComuneCatastale(catastale);
  return comune ? comune->Provincia : provincia;
}

// --- street and house number ------------------------------------------------

void clsHL7::SeparaIndirizzo(const std::string& indirizzo, std::string& via, std::string& civico) {
  // Tried in this order; the blank comes before the blank-digit pairs.
  static constexpr std::string_view kSeparatori[] = {",",  "n.", "n",  "num", "num.", ";",
                                                     "-",  " ",  " 1", " 2",  " 3",   " 4",
                                                     " 5", " 6", " 7", " 8",  " 9",   " 0"};
  via = indirizzo;
  civico.clear();
  const std::string minuscolo = Minuscolo(indirizzo);
  for (std::string_view separatore : kSeparatori) {
    const auto dove = minuscolo.rfind(separatore);
    if (dove == std::string::npos) continue;
    const std::string dopo =
        util::Trim(std::string_view(indirizzo).substr(dove + separatore.size()));
    if (dopo.empty() || !Cifra(dopo.front())) continue;
    via = util::Trim(std::string_view(indirizzo).substr(0, dove));
    const std::string numero =
        SpazioCifra(separatore) ? util::Trim(std::string_view(indirizzo).substr(dove + 1)) : dopo;
    civico = PrimiCaratteri(numero, 10);
    return;
  }
}

}  // namespace qzkiro::hl7
