#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "qzkiro/Failure.h"
#include "qzkiro/host/Object.h"
#include "qzkiro/host/Paziente.h"
#include "qzkiro/host/Workspace.h"

namespace qzkiro::host {

// A host archive reached by name through Application::Archivio. Every archive
// has a catalogue version; the members of each kind are on its own interface.
class IArchivio : public Object {
 public:
  // The catalogue version, "" when the archive was never updated.
  virtual std::string Versione() = 0;
};

class IPaziente : public Object {
 public:
  virtual std::string ID() = 0;
  virtual std::string CodiceFiscale() = 0;
  virtual std::string Cognome() = 0;
  virtual std::string Nome() = 0;
  virtual std::string Sesso() = 0;
  // "yyyymmdd".
  virtual std::string DataNascita() = 0;

  // Members of the patient the host has open (Application::Paziente) and of
  // the patients the host hands to the operations. A host without one
  // raises the error a late-bound call to a missing member raises.
  //
  // The patient's own doctor; null when the host knows none.
  virtual std::shared_ptr<IMedicoPaziente> Medico() { NonSupportato("Medico"); }
  // True when the patient is one of the practice's own patients.
  virtual bool Proprio() { NonSupportato("Proprio"); }
  virtual IItemsPaziente& Items() { NonSupportato("Items"); }
  virtual IEsenzioniPaziente& Esenzioni() { NonSupportato("Esenzioni"); }
  virtual IProblemiPaziente& Problemi() { NonSupportato("Problemi"); }
  virtual IPatientSummary& PatientSummary() { NonSupportato("PatientSummary"); }
  virtual IPrivacyPaziente& Privacy() { NonSupportato("Privacy"); }
  // "COGNOME NOME" as the host shows the patient.
  virtual std::string NomeCompleto() { NonSupportato("NomeCompleto"); }
  // The health unit of assistance: the region's code followed by the unit's
  // ("050503").
  virtual std::string CodiceRegione() { NonSupportato("CodiceRegione"); }
  // The patient's mobile number and e-mail, and their change saved (Salva).
  virtual std::string Cellulare() { NonSupportato("Cellulare"); }
  virtual std::string Email() { NonSupportato("Email"); }
  virtual void SalvaRecapiti(const std::string& /*cellulare*/, const std::string& /*email*/) {
    NonSupportato("Salva");
  }
  // The patient's workspace records and care programmes.
  virtual IWorkspace& Workspace() { NonSupportato("Workspace"); }
  virtual IPresaInCura& PresaInCura() { NonSupportato("PresaInCura"); }

 private:
  [[noreturn]] static void NonSupportato(const char* membro) {
    throw Failure(
        kMembroNonSupportato,
        std::string("L'oggetto Paziente non supporta la proprietà o il metodo ") + membro);
  }
};

// One patient of a doctor's list, as the population counts need it.
struct VoceAssistito {
  std::string ID;  // the host identifier, the workspace's idpaziente
  std::string CodiceFiscale;
  std::string Sesso;        // "M" or "F"
  std::string DataNascita;  // "yyyymmdd"
};

class IArchivioPazienti : public IArchivio {
 public:
  // The patient with this host identifier or fiscal code; null when absent.
  virtual std::shared_ptr<IPaziente> DaiPaziente(const std::string& id) = 0;
  // The patients whose own doctor has this fiscal code, in the archive's order.
  virtual std::vector<VoceAssistito> ListaAssistiti(
      const std::string& /*codice_fiscale_medico*/) {
    throw Failure(kMembroNonSupportato,
                  "L'archivio Pazienti non supporta la proprietà o il metodo ListaAssistiti");
  }
  // The fiscal codes of the practice's own patients whose national-health-
  // service doctor has this fiscal code, in the archive's order.
  virtual std::vector<std::string> ListaCFPazientiSSN(
      const std::string& /*codice_fiscale_medico*/) {
    throw Failure(kMembroNonSupportato,
                  "L'archivio Pazienti non supporta la proprietà o il metodo ListaCFPazientiSSN");
  }
};

struct VocePPIP {
  std::string ID;
  std::string Codice;
  std::string Descrizione;
};

// Additional services (PPIP) catalogue.
class IArchivioPPIP : public IArchivio {
 public:
  virtual std::optional<VocePPIP> Carica(const std::string& id) = 0;
  // The catalogue code of a service identifier, "" when unknown.
  virtual std::string DaiCodice(const std::string& id) = 0;
};

class IArchivioStrutture : public IArchivio {
 public:
  // The name of the health structure with this code, "" when unknown.
  virtual std::string Denominazione(const std::string& codice) = 0;
};

struct VoceComune {
  std::string Istat;
  std::string CodiceCatastale;
  std::string Comune;
  std::string Provincia;
};

class IArchivioComuni : public IArchivio {
 public:
  // The municipality with this ISTAT code, valid at `data` ("yyyymmdd") when given.
  virtual std::optional<VoceComune> CaricaIstat(const std::string& istat,
                                                const std::string& data = {}) = 0;
  // The municipality with this cadastral code (the one inside fiscal codes).
  virtual std::optional<VoceComune> CaricaCF(const std::string& catastale) = 0;
  // The cadastral and ISTAT codes of a municipality by name; "" when unknown.
  virtual std::string DaiCodiceCatastale(const std::string& nome) = 0;
  virtual std::string DaiCodiceISTAT(const std::string& nome) = 0;
};

// The regional affinity domain's code tables.
class IArchivioAffinityDomain : public IArchivio {
 public:
  // The document family ("LAB", "RAD", ...) of a document type code; "" when unknown.
  virtual std::string XDSDocumentEntry_typeCode(const std::string& codice) = 0;
};

struct VoceVisita {
  std::string ID;
  std::string Codice;
  std::string Descrizione;
};

// The specialist-visit catalogue.
class IArchivioVisite : public IArchivio {
 public:
  virtual std::optional<VoceVisita> Carica(const std::string& id) = 0;
};

struct VoceUtente {
  std::string CodiceFiscale;
  std::string NomeCompleto;
};

// The doctors of the practice (the users the add-on may act for).
class IArchivioUtenti : public IArchivio {
 public:
  virtual std::vector<VoceUtente> Elenco() = 0;
};

// Reaches an archive's own interface, failing as a late-bound call on the
// wrong object would.
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
