#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "qzkiro/Failure.h"
#include "qzkiro/host/Object.h"
#include "qzkiro/host/Paziente.h"
#include "qzkiro/host/Workspace.h"

/// \file
/// The host's archives (patients, catalogues, municipalities, doctors) and
/// the patient object.

namespace qzkiro::host {

/// A host archive reached by name through Application::Archivio. Every archive
/// has a catalogue version; the members of each kind are on its own interface.
class IArchivio : public Object {
 public:
  /// The catalogue version, "" when the archive was never updated. Init warns
  /// the user when the "Esami" or "Visite" catalogue has none.
  virtual std::string Versione() = 0;
};

/// A patient of the host: the one open on the screen
/// (IApplication::Paziente), one found in the "Pazienti" archive, or one the
/// host hands to an operation.
class IPaziente : public Object {
 public:
  /// The patient's host identifier.
  virtual std::string ID() = 0;
  /// The patient's fiscal code.
  virtual std::string CodiceFiscale() = 0;
  /// The patient's surname.
  virtual std::string Cognome() = 0;
  /// The patient's name.
  virtual std::string Nome() = 0;
  /// The patient's sex, "M" or "F".
  virtual std::string Sesso() = 0;
  /// The date of birth, "yyyymmdd".
  virtual std::string DataNascita() = 0;

  // Members of the patient the host has open (Application::Paziente) and of
  // the patients the host hands to the operations. A host without one
  // raises the error a late-bound call to a missing member raises.

  /// The patient's own doctor; null when the host knows none.
  virtual std::shared_ptr<IMedicoPaziente> Medico() { NonSupportato("Medico"); }
  /// True when the patient is one of the practice's own patients.
  virtual bool Proprio() { NonSupportato("Proprio"); }
  /// The patient's stored items (the regional identifier "MPI", the ids the
  /// flows cache).
  virtual IItemsPaziente& Items() { NonSupportato("Items"); }
  /// The patient's exemptions.
  virtual IEsenzioniPaziente& Esenzioni() { NonSupportato("Esenzioni"); }
  /// The patient's problem list.
  virtual IProblemiPaziente& Problemi() { NonSupportato("Problemi"); }
  /// The patient summary the host writes for the patient.
  virtual IPatientSummary& PatientSummary() { NonSupportato("PatientSummary"); }
  /// The patient's privacy record (the state of the health-record consents).
  virtual IPrivacyPaziente& Privacy() { NonSupportato("Privacy"); }
  /// "COGNOME NOME" as the host shows the patient.
  virtual std::string NomeCompleto() { NonSupportato("NomeCompleto"); }
  /// The health unit of assistance: the region's code followed by the unit's
  /// ("050503").
  virtual std::string CodiceRegione() { NonSupportato("CodiceRegione"); }
  /// The patient's mobile number.
  virtual std::string Cellulare() { NonSupportato("Cellulare"); }
  /// The patient's e-mail address.
  virtual std::string Email() { NonSupportato("Email"); }
  /// Saves the patient's mobile number and e-mail address (the host's Salva):
  /// the consent form saves what the user changed, the silent consent check
  /// what the regional registry holds.
  virtual void SalvaRecapiti(const std::string& /*cellulare*/, const std::string& /*email*/) {
    NonSupportato("Salva");
  }
  /// The patient's workspace records.
  virtual IWorkspace& Workspace() { NonSupportato("Workspace"); }
  /// The care programmes the patient is enrolled in.
  virtual IPresaInCura& PresaInCura() { NonSupportato("PresaInCura"); }

 private:
  [[noreturn]] static void NonSupportato(const char* membro) {
    throw Failure(
        kMembroNonSupportato,
        std::string("L'oggetto Paziente non supporta la proprietà o il metodo ") + membro);
  }
};

/// One patient of a doctor's list, as the population counts need it.
struct VoceAssistito {
  /// The host identifier, the workspace's idpaziente.
  std::string ID;
  /// The patient's fiscal code.
  std::string CodiceFiscale;
  /// "M" or "F".
  std::string Sesso;
  /// "yyyymmdd".
  std::string DataNascita;
};

/// The patients' archive ("Pazienti").
class IArchivioPazienti : public IArchivio {
 public:
  /// The patient with this host identifier or fiscal code; null when absent.
  virtual std::shared_ptr<IPaziente> DaiPaziente(const std::string& id) = 0;
  /// Shows the archive for the user to pick a patient, listed by the column
  /// `colonna` ("Cognome e nome"); the patient picked, null when the user
  /// closes the list. The consent form fills a guardian's tab with it.
  virtual std::shared_ptr<IPaziente> Scegli(const std::string& /*colonna*/) {
    throw Failure(kMembroNonSupportato,
                  "L'archivio Pazienti non supporta la proprietà o il metodo Scegli");
  }
  /// The patients whose own doctor has this fiscal code, in the archive's order.
  /// The PDTA indicators are computed over them.
  virtual std::vector<VoceAssistito> ListaAssistiti(const std::string& /*codice_fiscale_medico*/) {
    throw Failure(kMembroNonSupportato,
                  "L'archivio Pazienti non supporta la proprietà o il metodo ListaAssistiti");
  }
  /// The fiscal codes of the practice's own patients whose national-health-
  /// service doctor has this fiscal code, in the archive's order. Compared
  /// with the regional list when the doctor's patients are brought in line.
  virtual std::vector<std::string> ListaCFPazientiSSN(
      const std::string& /*codice_fiscale_medico*/) {
    throw Failure(kMembroNonSupportato,
                  "L'archivio Pazienti non supporta la proprietà o il metodo ListaCFPazientiSSN");
  }
};

/// One entry of the additional services (PPIP) catalogue.
struct VocePPIP {
  /// The service's identifier in the catalogue.
  std::string ID;
  /// The service's code ("A110", ...).
  std::string Codice;
  /// The service's description.
  std::string Descrizione;
};

/// Additional services (PPIP) catalogue ("PPIP").
class IArchivioPPIP : public IArchivio {
 public:
  /// The entry with this identifier; nullopt when unknown.
  virtual std::optional<VocePPIP> Carica(const std::string& id) = 0;
  /// The catalogue code of a service identifier, "" when unknown.
  virtual std::string DaiCodice(const std::string& id) = 0;
};

/// The health structures' archive ("Strutture").
class IArchivioStrutture : public IArchivio {
 public:
  /// The name of the health structure with this code, "" when unknown.
  virtual std::string Denominazione(const std::string& codice) = 0;
};

/// One municipality of the "Comuni" archive.
struct VoceComune {
  /// The municipality's ISTAT code.
  std::string Istat;
  /// The cadastral code (the one inside fiscal codes).
  std::string CodiceCatastale;
  /// The municipality's name.
  std::string Comune;
  /// The province's abbreviation.
  std::string Provincia;
};

/// The municipalities' archive ("Comuni").
class IArchivioComuni : public IArchivio {
 public:
  /// The municipality with this ISTAT code, valid at `data` ("yyyymmdd") when given.
  virtual std::optional<VoceComune> CaricaIstat(const std::string& istat,
                                                const std::string& data = {}) = 0;
  /// The municipality with this cadastral code (the one inside fiscal codes).
  virtual std::optional<VoceComune> CaricaCF(const std::string& catastale) = 0;
  /// The cadastral code of a municipality by name; "" when unknown.
  virtual std::string DaiCodiceCatastale(const std::string& nome) = 0;
  /// The ISTAT code of a municipality by name; "" when unknown.
  virtual std::string DaiCodiceISTAT(const std::string& nome) = 0;
};

/// The regional affinity domain's code tables ("AffinityDomain").
class IArchivioAffinityDomain : public IArchivio {
 public:
  /// The document family ("LAB", "RAD", ...) of a document type code; "" when unknown.
  virtual std::string XDSDocumentEntry_typeCode(const std::string& codice) = 0;
};

/// One entry of the specialist-visit catalogue.
struct VoceVisita {
  /// The entry's identifier in the catalogue.
  std::string ID;
  /// The visit's code.
  std::string Codice;
  /// The visit's description.
  std::string Descrizione;
};

/// The specialist-visit catalogue ("Visite").
class IArchivioVisite : public IArchivio {
 public:
  /// The entry with this identifier; nullopt when unknown.
  virtual std::optional<VoceVisita> Carica(const std::string& id) = 0;
};

/// One doctor of the practice.
struct VoceUtente {
  /// The doctor's fiscal code.
  std::string CodiceFiscale;
  /// The doctor's name as the host shows it.
  std::string NomeCompleto;
};

/// The doctors of the practice (the users the add-on may act for), archive
/// "Utenti".
class IArchivioUtenti : public IArchivio {
 public:
  /// Every doctor, in the archive's order; the identity provider's
  /// credentials dialog offers them as responsible doctors.
  virtual std::vector<VoceUtente> Elenco() = 0;
};

/// Reaches an archive's own interface, failing as a late-bound call on the
/// wrong object would: `archivio` as a `T`, or Failure (kMembroNonSupportato)
/// naming the archive `nome` when it is not one.
template <class T>
std::shared_ptr<T> Come(const std::shared_ptr<IArchivio>& archivio, const std::string& nome) {
  auto tipizzato = std::dynamic_pointer_cast<T>(archivio);
  if (!tipizzato) {
    throw Failure(kMembroNonSupportato,
                  "L'archivio " + nome + " non supporta questa proprietà o metodo");
  }
  return tipizzato;
}

}  // namespace qzkiro::host
