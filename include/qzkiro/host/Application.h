#pragma once

#include <memory>
#include <string>

#include "qzkiro/host/Archivio.h"
#include "qzkiro/host/Base64.h"
#include "qzkiro/host/Database.h"
#include "qzkiro/host/Framework.h"
#include "qzkiro/host/Giornale.h"
#include "qzkiro/host/Registry.h"
#include "qzkiro/host/Utente.h"
#include "qzkiro/host/Variant.h"

/// \file
/// The host application object given to Plugin::Init, the root of the host
/// object model.

namespace qzkiro::host {

/// The host's system services.
class IApi {
 public:
  virtual ~IApi() = default;
  /// The local time as "hh:nn:ss.mmm" (milliseconds last). The document
  /// readers take the milliseconds from it.
  virtual std::string LocalTime() = 0;
};

/// The host application object given to Init. Every call runs on the host's
/// user-interface thread; a failing call throws Failure.
///
/// The members with a body are optional: the default throws the Failure
/// (kMembroNonSupportato) that a late-bound call to a missing member raises.
/// An operation that needs such a member then fails with that message; the
/// document readers fall back on their own equivalent.
class IApplication {
 public:
  virtual ~IApplication() = default;
  /// The host's current user, asked for on almost every operation.
  virtual IUtente& Utente() = 0;
  /// Named set-up value (Boolean, integer or text); empty when never set.
  /// The add-on reads, for example, "VaccinazioneEstesa",
  /// "DematBiancaFarmaci", "Autenticazione2F" and the proxy's values.
  virtual Variant Setup(const std::string& name) = 0;
  /// Writes a named set-up value. Init writes the values that tell the host
  /// what the add-on offers in this region (such as "ConsensoFSE" and
  /// "MostraCodicePPIP").
  virtual void SetSetup(const std::string& name, const Variant& value) = 0;
  /// Raises a host event with a value: the add-on raises
  /// "plgQZCoopApp.Enabled" with "0" when it starts disabled and "1" when it
  /// is turned on again.
  virtual void GeneraEvento(const std::string& event, const std::string& value) = 0;
  /// Raises a host event whose handler answers, as a handler does by
  /// writing into its by-reference value: the consent form raises
  /// "plgQZCoopApp.RicezioneAnagrafica" with the fiscal code typed in a
  /// guardian's tab, and the host answers with the registry search's
  /// document (elements "anagrafica/codiceFiscale", "cognome", "nome",
  /// "cellulare", "email"). A host that does not override it gets the event
  /// through GeneraEvento and answers nothing ("").
  virtual std::string ChiediEvento(const std::string& event, const std::string& value) {
    GeneraEvento(event, value);
    return {};
  }
  /// The host's framework object.
  virtual IFramework& Framework() = 0;
  /// The per-user persistent values, where the add-on keeps saved
  /// credentials.
  virtual IRegistry& Registry() = 0;
  /// The host database.
  virtual IDB& DB() = 0;
  /// The archive with this name ("Pazienti", "Esami", "Visite", "PPIP",
  /// "Strutture", "Comuni", "Utenti", "AffinityDomain"); throws Failure for an
  /// unknown name. The add-on reaches each archive's own interface with Come.
  virtual std::shared_ptr<IArchivio> Archivio(const std::string& name) = 0;
  /// The host's Base64 object.
  virtual IBase64& Base64() = 0;
  /// The host's system services.
  virtual IApi& API() {
    throw Failure(kMembroNonSupportato,
                  "L'oggetto Application non supporta la proprietà o il metodo API");
  }
  /// The patient open on the host's screen; null when none is open.
  virtual std::shared_ptr<IPaziente> Paziente() {
    throw Failure(kMembroNonSupportato,
                  "L'oggetto Application non supporta la proprietà o il metodo Paziente");
  }
  /// The host's journal of this workstation.
  virtual IGiornale& Giornale() {
    throw Failure(kMembroNonSupportato,
                  "L'oggetto Application non supporta la proprietà o il metodo Giornale");
  }
};

}  // namespace qzkiro::host
