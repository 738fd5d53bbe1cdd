#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "util/DataOra.h"
#include "util/clsXML.h"

namespace qzkiro::cda {

// The signing GP, as the host's user record gives it.
struct MedicoConsenso {
  std::string CodiceFiscale;
  std::string Cognome;
  std::string Nome;
  std::string CodiceRegionale;  // the GP's regional code
  std::string CodiceASL;
  std::string DenominazioneASL;
  std::string CodiceRegioneASL;
  std::string Email;
  std::string Telefono;
};

// The patient, as the host's patient record gives it, with the regional
// (MPI) identifier the dialog obtained.
struct PazienteConsenso {
  std::string CodiceFiscale;
  std::string Cognome;
  std::string Nome;
  std::string Sesso;
  std::optional<util::DataOra> DataNascita;
  int Eta = 0;  // age in years
  std::string IndirizzoConCivico;
  std::string CAP;
  std::string Citta;
  std::string Provincia;
  std::string CittaIstat;
  std::string CittaIstatRegionale;
  std::string CittaNascitaITA;
  std::string ProvinciaNascitaITA;
  std::string CittaNascitaIstatRegionale;
  std::string CittaNascitaIstatITA;
  std::string StatoNascitaISO;
  std::string MPI;

  // "yyyymmdd", "" without a birth date.
  std::string DataNascitaAAAAMMGG() const;
};

// A parent or legal guardian who expresses the consent for the patient.
struct TutoreConsenso {
  std::string CodiceFiscale;
  std::string Cognome;
  std::string Nome;
  std::string MPI;  // regional identifier, "" when not known
  std::string Cellulare;
  std::string Email;
};

// The kinds of consent, in the order they are published.
enum class TipoConsenso { Alimentazione = 0, Consultazione = 1, Pregresso = 2 };
inline constexpr std::array<TipoConsenso, 3> kTipiConsenso = {
    TipoConsenso::Alimentazione, TipoConsenso::Consultazione, TipoConsenso::Pregresso};

// What the documents of one kind are called and coded with.
struct VoceTipo {
  std::string_view codice;        // event code of a given consent
  std::string_view titolo;        // its display name
  std::string_view id_documento;  // id of the entry in the submission
  std::string_view tipo_codice;   // type code of the entry
  std::string_view tipo_nome;     // type name of the entry
  std::string_view parte_mime;    // name of the part carrying the document
};
const VoceTipo& Voce(TipoConsenso tipo);

// Event code and title of a consent: those of its kind when given, the
// withdrawal's when not.
struct CodiceEvento {
  std::string codice;
  std::string titolo;
};
CodiceEvento EventoConsenso(TipoConsenso tipo, bool dato);
// The event of a consent expressed by a guardian: "care giver" for an adult
// patient, "delega minore" up to 18 years.
CodiceEvento EventoTutore(int eta);

// Everything a submission of consents is made of, filled by the caller.
struct DatiConsenso {
  MedicoConsenso Medico;
  PazienteConsenso Paziente;
  std::vector<TutoreConsenso> Tutori;  // empty when the patient consents personally
  // The patient's contacts confirmed in the consent form; the record's own
  // (TelefonoPaziente, EmailPaziente) stand in when these are empty.
  std::string Cellulare;
  std::string Email;
  std::string TelefonoPaziente;
  std::string EmailPaziente;
  // Empty: not part of the submission; true: given; false: withdrawn.
  std::optional<bool> Alimentazione;
  std::optional<bool> Consultazione;
  std::optional<bool> Pregresso;
  // Id of the document each new one replaces, "" when none.
  std::string IDAlimentazione;
  std::string IDConsultazione;
  std::string IDPregresso;
  // A consent given by a guardian lapsed because the patient came of age.
  bool ScadutoPerMaggioreEta = false;

  const std::optional<bool>& Scelta(TipoConsenso tipo) const;
  const std::string& IdSostituito(TipoConsenso tipo) const;
  // The patient's mobile and e-mail: the form's, else the record's.
  std::string CellulareEffettivo() const;
  std::string EmailEffettiva() const;
};

// The moment a submission was created, fixed once for all its documents.
struct Creazione {
  util::DataOra DataOra;
  std::string MarcaTemporale;  // zone-qualified, as the metadata write it
  // Entry (i, j) is DataOra as "yyyymmddhhnnss" followed by i * 3 + j.
  std::array<std::array<std::string, 3>, 3> IdUnici;

  Creazione(const util::DataOra& data_ora, std::string marca_temporale);
  std::string Semplice() const;  // "yyyymmddhhnnss"
  // The unique id of the document of a kind: the first of its row.
  const std::string& IdUnico(TipoConsenso tipo) const;
};

// Finds, in a semicolon-separated table file, the row whose key is `chiave`
// valid at `data` ("yyyymmdd"), and gives its columns (empty: no row).
using CercaRiga = std::function<std::vector<std::string>(
    const std::filesystem::path& file, const std::string& chiave, const std::string& data)>;

// The two local tables of the add-on's folder ("SA_COMUNI.csv",
// "SA_STATI_ESTERI.csv") and the row search that reads them. Without a
// search the tables count as absent.
struct TabelleIstat {
  std::filesystem::path cartella;
  CercaRiga cerca;
};

// ISTAT code of the municipality of residence.
std::string IstatResidenza(const PazienteConsenso& paziente);
// ISTAT code of the birth municipality.
std::string IstatComuneNascita(const PazienteConsenso& paziente, const TabelleIstat& tabelle);
// ISO code of the birth state: "ITA" for those born in Italy; "" for those
// born abroad whose state is nowhere to be found.
std::string StatoNascita(const PazienteConsenso& paziente, const TabelleIstat& tabelle);

// The consent document ("ClinicalDocument", CDA R2) of one kind; `dato` tells
// a given consent from a withdrawn one.
util::clsXML DocumentoConsenso(const DatiConsenso& dati, TipoConsenso tipo, bool dato,
                               const Creazione& creazione);

}  // namespace qzkiro::cda
