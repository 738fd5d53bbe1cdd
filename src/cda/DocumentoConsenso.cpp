#include "cda/DocumentoConsenso.h"

#include <system_error>

namespace qzkiro::cda {

namespace {

using util::clsXML;
using Nodo = clsXML::Nodo;
using Attributi = std::vector<std::string>;

constexpr std::string_view kRadiceEvento = "urn:oid:2.16.840.1.113883.2.9.2.50.4.13.";
constexpr const char* kCodiceFiscaleOid = "2.16.840.1.113883.2.9.4.3.2";
constexpr const char* kMef = "Ministero Economia e Finanze";
constexpr const char* kMpiOid = "2.16.840.1.113883.2.9.2.50.4.1.2";
constexpr const char* kRegione = "Regione Veneto";
constexpr const char* kSistemaEventi = "2.16.840.1.113883.2.9.2.50.6.30";
// The code of a row in both local tables: the ISTAT code of a municipality,
// the ISO 3166 code of a foreign state.
constexpr std::size_t kColonnaCodice = 2;

// clang-format off
constexpr VoceTipo kVoci[] = {
    {"urn:oid:2.16.840.1.113883.2.9.2.50.4.13.1", "Consenso alla alimentazione del FSEr",
     "Document00", "Consenso FSEr", "Consenso all'alimentazione del FSEr",
     "docConsensoAlimentazione.xml"},
    {"urn:oid:2.16.840.1.113883.2.9.2.50.4.13.2",
     "Consenso alla consultazione per tutti gli operatori coinvolti nel PDTA del paziente",
     "Document01", "Consenso Consultazione", "Consenso alla consultazione del FSEr",
     "docConsensoConsultazione.xml"},
    {"urn:oid:2.16.840.1.113883.2.9.2.50.4.13.13", "Consenso Alimentazione Pregresso FSEr",
     "Document02", "Consenso Alimentazione Pregresso FSEr",
     "Consenso all'alimentazione del FSEr con documenti pregressi", "docConsensoPregresso.xml"},
};
// clang-format on

std::size_t Indice(TipoConsenso tipo) {
  return static_cast<std::size_t>(tipo);
}

Nodo E(clsXML& x, Nodo padre, const std::string& nome, const Attributi& attributi = {},
       const std::string& testo = {}) {
  return x.AddNode(padre, nome, testo, attributi);
}

void IdFiscale(clsXML& x, Nodo padre, const std::string& codice_fiscale) {
  E(x, padre, "id",
    {"root", kCodiceFiscaleOid, "extension", codice_fiscale, "assigningAuthorityName", kMef});
}

// A mobile number and an e-mail when known; "asked, unknown" when neither is.
void Recapiti(clsXML& x, Nodo padre, const std::string& cellulare, const std::string& email) {
  if (!cellulare.empty()) E(x, padre, "telecom", {"use", "MC", "value", "tel:" + cellulare});
  if (!email.empty()) E(x, padre, "telecom", {"value", "mailto:" + email});
  if (cellulare.empty() && email.empty()) E(x, padre, "telecom", {"nullFlavor", "ASKU"});
}

void Nome(clsXML& x, Nodo padre, const std::string& cognome, const std::string& nome) {
  Nodo name = E(x, padre, "name");
  E(x, name, "family", {}, cognome);
  E(x, name, "given", {}, nome);
}

// Steps 1 to 9: the document's own header.
Nodo Intestazione(clsXML& x, const DatiConsenso& dati, const std::string& id_unico,
                  const Creazione& creazione) {
  x.LoadXML(
      "<ClinicalDocument xsi:schemaLocation=\"urn:hl7-org:v3 CDA.xsd\" xmlns=\"urn:hl7-org:v3\" "
      "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"/>");
  x.SetDefaultNameSpace("urn:hl7-org:v3");
  Nodo doc = x.rootNode();
  E(x, doc, "typeId", {"root", "2.16.840.1.113883.1.3", "extension", "POCD_HD000040"});
  E(x, doc, "templateId", {"root", "1.3.6.1.4.1.19376.1.5.3.1.1.1"});
  E(x, doc, "templateId", {"root", "1.3.6.1.4.1.19376.1.5.3.1.1.7"});
  E(x, doc, "id",
    {"root", "2.16.840.1.113883.2.9.2.50.2." + dati.Medico.CodiceRegionale + ".4.4.7", "extension",
     id_unico, "assigningAuthorityName", kRegione});
  E(x, doc, "code",
    {"code", "57016-8", "displayName", "PATIENT PRIVACY ACKNOWLEDGEMENT", "codeSystem",
     "2.16.840.1.113883.6.1", "codeSystemName", "LOINC"});
  E(x, doc, "title", {}, "Consent to Share Information");
  E(x, doc, "effectiveTime", {"value", creazione.MarcaTemporale});
  E(x, doc, "confidentialityCode",
    {"code", "V", "displayName", "Very restricted", "codeSystem", "2.16.840.1.113883.5.25",
     "codeSystemName", "HL7 Confidentiality"});
  E(x, doc, "languageCode", {"code", "it-IT"});
  return doc;
}

void Tutore(clsXML& x, Nodo paziente, const TutoreConsenso& tutore) {
  Nodo guardian = E(x, paziente, "guardian", {"classCode", "GUARD"});
  IdFiscale(x, guardian, tutore.CodiceFiscale);
  if (!tutore.MPI.empty()) {
    E(x, guardian, "id",
      {"root", kMpiOid, "extension", tutore.MPI, "assigningAuthorityName", kRegione});
  }
  Recapiti(x, guardian, tutore.Cellulare, tutore.Email);
  Nome(x, E(x, guardian, "guardianPerson"), tutore.Cognome, tutore.Nome);
}

// Step 10: the patient, with the guardians who consent for them.
void RecordTarget(clsXML& x, Nodo doc, const DatiConsenso& dati) {
  const PazienteConsenso& p = dati.Paziente;
  Nodo ruolo = E(x, E(x, doc, "recordTarget"), "patientRole", {"classCode", "PAT"});
  IdFiscale(x, ruolo, p.CodiceFiscale);
  E(x, ruolo, "id", {"root", kMpiOid, "extension", p.MPI, "assigningAuthorityName", kRegione});
  Nodo addr = E(x, ruolo, "addr", {"use", "HP"});
  E(x, addr, "streetAddressLine", {}, p.IndirizzoConCivico);
  E(x, addr, "postalCode", {}, p.CAP);
  E(x, addr, "city", {}, p.Citta);
  E(x, addr, "censusTract", {}, IstatResidenza(p));
  Recapiti(x, ruolo, dati.CellulareEffettivo(), dati.EmailEffettiva());
  Nodo paziente = E(x, ruolo, "patient", {"classCode", "PSN", "determinerCode", "INSTANCE"});
  Nome(x, paziente, p.Cognome, p.Nome);
  E(x, paziente, "administrativeGenderCode",
    {"code", p.Sesso, "codeSystem", "2.16.840.1.113883.5.1"});
  E(x, paziente, "birthTime", {"value", p.DataNascitaAAAAMMGG()});
  for (const TutoreConsenso& tutore : dati.Tutori) Tutore(x, paziente, tutore);
}

// Steps 11 to 13: author, custodian and the GP as participant.
void Responsabili(clsXML& x, Nodo doc, const MedicoConsenso& medico, const Creazione& creazione) {
  Nodo author = E(x, doc, "author", {"typeCode", "AUT", "contextControlCode", "OP"});
  E(x, author, "time", {"value", creazione.MarcaTemporale});
  IdFiscale(x, E(x, author, "assignedAuthor", {"classCode", "ASSIGNED"}), medico.CodiceFiscale);

  Nodo custode =
      E(x,
        E(x, E(x, doc, "custodian", {"typeCode", "CST"}), "assignedCustodian",
          {"classCode", "ASSIGNED"}),
        "representedCustodianOrganization", {"classCode", "ORG", "determinerCode", "INSTANCE"});
  E(x, custode, "id", {"root", "2.16.840.1.113883.2.9.2.50"});
  E(x, custode, "name", {}, kRegione);

  Nodo entita = E(x, E(x, doc, "participant", {"typeCode", "DEV", "nullFlavor", "MSK"}),
                  "associatedEntity", {"classCode", "LIC", "nullFlavor", "MSK"});
  E(x, entita, "id",
    {"root", "2.16.840.1.113883.2.9.2.50.4.5", "displayable", "false", "extension",
     medico.CodiceRegionale});
}

void Evento(clsXML& x, Nodo doc, const CodiceEvento& evento, const Creazione& creazione) {
  Nodo servizio = E(x, E(x, doc, "documentationOf", {"typeCode", "DOC"}), "serviceEvent",
                    {"classCode", "ACT", "moodCode", "EVN"});
  E(x, servizio, "templateId", {"root", "1.3.6.1.4.1.19376.1.5.3.1.2.6"});
  E(x, servizio, "id", {"root", "1.2.3.4.5." + creazione.Semplice()});
  E(x, servizio, "code",
    {"code", evento.codice, "displayName", evento.titolo, "codeSystem", kSistemaEventi});
  E(x, E(x, servizio, "effectiveTime"), "low", {"value", creazione.MarcaTemporale});
}

bool NatoAllEstero(const PazienteConsenso& p) {
  return p.CodiceFiscale.size() > 11 && (p.CodiceFiscale[11] == 'Z' || p.CodiceFiscale[11] == 'z');
}

// The code column of the row of a local table for the cadastral code of the
// fiscal code (characters 12 to 15), valid at the birth date.
std::string DallaTabella(const TabelleIstat& tabelle, const char* nome_file,
                         const PazienteConsenso& p) {
  if (!tabelle.cerca || p.CodiceFiscale.size() < 15) return {};
  const std::filesystem::path file = tabelle.cartella / nome_file;
  std::error_code errore;
  if (!std::filesystem::is_regular_file(file, errore)) return {};
  const auto colonne = tabelle.cerca(file, p.CodiceFiscale.substr(11, 4), p.DataNascitaAAAAMMGG());
  return colonne.size() > kColonnaCodice ? colonne[kColonnaCodice] : std::string();
}

}  // namespace

std::string PazienteConsenso::DataNascitaAAAAMMGG() const {
  return DataNascita ? DataNascita->Formato("yyyymmdd") : std::string();
}

const VoceTipo& Voce(TipoConsenso tipo) {
  return kVoci[Indice(tipo)];
}

CodiceEvento EventoConsenso(TipoConsenso tipo, bool dato) {
  if (!dato) return {std::string(kRadiceEvento) + "100", "Consenso Revocato"};
  return {std::string(Voce(tipo).codice), std::string(Voce(tipo).titolo)};
}

CodiceEvento EventoTutore(int eta) {
  const std::string prefisso = "Consenso di tipo advanced: ";
  if (eta > 18) return {std::string(kRadiceEvento) + "20", prefisso + "care giver"};
  return {std::string(kRadiceEvento) + "14", prefisso + "delega minore"};
}

const std::optional<bool>& DatiConsenso::Scelta(TipoConsenso tipo) const {
  const std::optional<bool>* scelte[] = {&Alimentazione, &Consultazione, &Pregresso};
  return *scelte[Indice(tipo)];
}

const std::string& DatiConsenso::IdSostituito(TipoConsenso tipo) const {
  const std::string* id[] = {&IDAlimentazione, &IDConsultazione, &IDPregresso};
  return *id[Indice(tipo)];
}

std::string DatiConsenso::CellulareEffettivo() const {
  return Cellulare.empty() ? TelefonoPaziente : Cellulare;
}

std::string DatiConsenso::EmailEffettiva() const {
  return Email.empty() ? EmailPaziente : Email;
}

Creazione::Creazione(const util::DataOra& data_ora, std::string marca_temporale)
    : DataOra(data_ora), MarcaTemporale(std::move(marca_temporale)) {
  for (std::size_t i = 0; i < IdUnici.size(); ++i) {
    for (std::size_t j = 0; j < IdUnici[i].size(); ++j) {
      IdUnici[i][j] = Semplice() + std::to_string(i * 3 + j);
    }
  }
}

std::string Creazione::Semplice() const {
  return DataOra.Formato("yyyymmddhhnnss");
}

const std::string& Creazione::IdUnico(TipoConsenso tipo) const {
  return IdUnici[Indice(tipo)][0];
}

std::string IstatResidenza(const PazienteConsenso& paziente) {
  return paziente.CittaIstatRegionale.empty() ? paziente.CittaIstat : paziente.CittaIstatRegionale;
}

std::string IstatComuneNascita(const PazienteConsenso& paziente, const TabelleIstat& tabelle) {
  if (!NatoAllEstero(paziente) && !paziente.CittaNascitaIstatRegionale.empty()) {
    return paziente.CittaNascitaIstatRegionale;
  }
  std::string codice = DallaTabella(tabelle, "SA_COMUNI.csv", paziente);
  return codice.empty() ? paziente.CittaNascitaIstatITA : codice;
}

std::string StatoNascita(const PazienteConsenso& paziente, const TabelleIstat& tabelle) {
  if (!NatoAllEstero(paziente)) return "ITA";
  if (!paziente.StatoNascitaISO.empty()) return paziente.StatoNascitaISO;
  return DallaTabella(tabelle, "SA_STATI_ESTERI.csv", paziente);
}

util::clsXML DocumentoConsenso(const DatiConsenso& dati, TipoConsenso tipo, bool dato,
                               const Creazione& creazione) {
  clsXML x;
  Nodo doc = Intestazione(x, dati, creazione.IdUnico(tipo), creazione);
  RecordTarget(x, doc, dati);
  Responsabili(x, doc, dati.Medico, creazione);
  Evento(x, doc, EventoConsenso(tipo, dato), creazione);
  if (!dati.Tutori.empty()) Evento(x, doc, EventoTutore(dati.Paziente.Eta), creazione);
  if (!dato) Evento(x, doc, EventoConsenso(tipo, false), creazione);
  E(x, E(x, E(x, E(x, doc, "component"), "structuredBody"), "component"), "section");
  return x;
}

}  // namespace qzkiro::cda
