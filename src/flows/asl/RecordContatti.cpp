#include "flows/asl/RecordContatti.h"

#include <cctype>
#include <unordered_map>

namespace qzkiro::asl {

namespace {

// A property the record lacks reads as "".
std::string Campo(host::IProprieta& p, const std::string& nome) {
  try {
    return p.Membro(nome).ToText();
  } catch (const std::exception&) {
    return {};
  }
}

bool Flag(host::IProprieta& p, const std::string& nome) {
  try {
    return p.Membro(nome).ToBool();
  } catch (const std::exception&) {
    return false;
  }
}

std::string Maiuscolo(std::string testo) {
  for (char& c : testo) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return testo;
}

// "yyyy-mm-dd..." (the prescription's form) or "yyyymmdd..." → "yyyymmdd".
std::string DataBreve(const std::string& data) {
  std::string cifre;
  for (char c : data) {
    if (std::isdigit(static_cast<unsigned char>(c))) cifre += c;
    if (cifre.size() == 8) break;
  }
  return cifre.size() == 8 ? cifre : data;
}

Contatto Accesso(host::IRecordContatto& r) {
  Contatto c;
  c.data = DataBreve(Campo(r, "Data"));
  c.tipologia = Campo(r, "Tipologia");
  if (c.tipologia.empty()) c.tipologia = Campo(r, "categoria");
  c.motivo = Campo(r, "Motivo");
  c.ipotesi = Campo(r, "Ipotesi");
  c.codice_icpc2 = Campo(r, "CodiceIcpc2");
  c.codice_icd9 = Campo(r, "CodiceIcd9");
  return c;
}

// The admission request's own data: its date, its urgency (a suggested
// admission, else the priority class), the reason, the hypothesis and the
// ICD-9 code; what the request lacks comes from the record.
std::optional<Contatto> Ricovero(host::IRecordContatto& r, const ArchiviContatti& archivi) {
  auto ricetta = archivi.ricetta ? archivi.ricetta(Campo(r, "Ricetta")) : nullptr;
  if (!ricetta) return std::nullopt;
  Contatto c = Accesso(r);
  c.richiesta_ricovero = true;
  if (auto data = DataBreve(Campo(*ricetta, "Data")); data.size() == 8) c.data = data;
  c.tipologia = Flag(*ricetta, "FlagSug") ? "S" : Campo(*ricetta, "Priorita");
  if (auto motivo = Campo(*ricetta, "Diagnosi"); !motivo.empty()) c.motivo = motivo;
  if (c.ipotesi.empty()) c.ipotesi = "Non specificata";
  if (auto icd9 = Campo(*ricetta, "ICD9"); !icd9.empty()) c.codice_icd9 = icd9;
  return c;
}

std::optional<Contatto> Ppip(const std::string& id, const std::string& data,
                             const std::string& codice_asl, const ArchiviContatti& archivi) {
  auto voce = archivi.ppip ? archivi.ppip(id) : std::nullopt;
  if (!voce || !CodicePPIPAccettato(codice_asl, voce->Codice)) return std::nullopt;
  Contatto c;
  c.tipo = Contatto::Tipo::kPpip;
  c.data = DataBreve(data);
  c.tipologia = voce->Codice;
  c.motivo = voce->Descrizione;
  return c;
}

std::optional<Contatto> DaRecord(host::IRecordContatto& r, const std::string& codice_asl,
                                 const ArchiviContatti& archivi) {
  const std::string categoria = Maiuscolo(Campo(r, "categoria"));
  if (categoria == "ACCESSO CON VISITA" || categoria == "ACCESSO SENZA VISITA" ||
      categoria == "VISITA DOMICILIARE") {
    return Accesso(r);
  }
  if (categoria == "RICOVERO") return Ricovero(r, archivi);
  if (categoria == "PPIP") return Ppip(Campo(r, "IDRif1"), Campo(r, "Data"), codice_asl, archivi);
  if (categoria == "VACCINAZIONE") {
    return Ppip(IdentificativoVaccinazione(Campo(r, "Descrizione")), Campo(r, "Data"), codice_asl,
                archivi);
  }
  return std::nullopt;
}

AssistitoContatti Assistito(host::IRecordContatto& r, const ArchiviContatti& archivi) {
  AssistitoContatti a;
  a.codice_fiscale = Maiuscolo(Campo(r, "CodiceFiscale"));
  a.cognome = Campo(r, "Cognome");
  a.nome = Campo(r, "Nome");
  a.sesso = Maiuscolo(Campo(r, "Sesso"));
  a.data_nascita = DataBreve(Campo(r, "DataNascita"));
  a.comune_nome = Campo(r, "ComuneNascita");
  if (!a.comune_nome.empty()) {
    if (archivi.catastale) a.comune_catastale = archivi.catastale(a.comune_nome);
    if (archivi.istat) a.comune_istat = archivi.istat(a.comune_nome);
  }
  return a;
}

}  // namespace

std::vector<AssistitoContatti> RaccogliContatti(
    const std::vector<std::shared_ptr<host::IRecordContatto>>& records,
    const std::string& codice_asl, const ArchiviContatti& archivi) {
  std::vector<AssistitoContatti> assistiti;
  std::unordered_map<std::string, std::size_t> posizione;
  for (const auto& record : records) {
    if (!record) continue;
    auto contatto = DaRecord(*record, codice_asl, archivi);
    if (!contatto) continue;
    const std::string cf = Maiuscolo(Campo(*record, "CodiceFiscale"));
    auto [voce, nuovo] = posizione.try_emplace(cf, assistiti.size());
    if (nuovo) assistiti.push_back(Assistito(*record, archivi));
    assistiti[voce->second].contatti.push_back(std::move(*contatto));
  }
  return assistiti;
}

}  // namespace qzkiro::asl
