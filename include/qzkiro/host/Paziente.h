#pragma once

#include <string>

#include "qzkiro/host/Object.h"
#include "qzkiro/host/Utente.h"

/// \file
/// The parts of a host patient: own doctor, stored items, exemptions,
/// problems, patient summary and privacy record.

namespace qzkiro::host {

/// The doctor a patient is registered with (the patient's own doctor).
class IMedicoPaziente : public Object {
 public:
  /// The doctor's fiscal code.
  virtual std::string CodiceFiscale() = 0;
};

/// A patient's stored items, such as the regional identifier kept under
/// "MPI" (its text begins "MPI:"). SetItem changes the patient in memory;
/// Salva makes the changes permanent.
class IItemsPaziente : public IItems {
 public:
  /// Makes the changes of SetItem permanent.
  virtual void Salva() = 0;
};

/// The patient's exemptions in the host's record.
class IEsenzioniPaziente : public Object {
 public:
  /// True when the patient has the exemption with this code ("013.250").
  virtual bool EsisteCodiceEsenzione(const std::string& codice) = 0;
};

/// The patient's problem list (ICD-9 coded).
class IProblemiPaziente : public Object {
 public:
  /// A problem of the family ("250": every code "250.xx").
  virtual bool EsisteFamigliaICD9(const std::string& famiglia) = 0;
  /// A problem with exactly this code ("250.01").
  virtual bool EsisteCodiceICD9(const std::string& codice) = 0;
};

/// The patient summary the host writes for the patient.
class IPatientSummary : public Object {
 public:
  /// The summary as a CDA R2 document (its XML text); "" when the host has none.
  virtual std::string CDA2() = 0;
  /// The code of the last summary sent to the regional record; "" before the first.
  virtual std::string UltimoCodice() = 0;
  /// Remembers the code of the summary just sent.
  virtual void SalvaUltimoCodice(const std::string& codice) = 0;
};

/// The patient's privacy record in the host.
class IPrivacyPaziente : public Object {
 public:
  /// Stores the state of the patient's consents to the regional health record
  /// ("1:..;2:..;...;6:..", one entry per option button of the consent form,
  /// "1" when chosen).
  virtual void SalvaConsensoFSEr(const std::string& stato) = 0;
  /// The state last stored with SalvaConsensoFSEr.
  virtual std::string ConsensoFSEr() = 0;
};

}  // namespace qzkiro::host
