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

namespace qzkiro::host {

// The host's system services.
class IApi {
 public:
  virtual ~IApi() = default;
  // The local time as "hh:nn:ss.mmm" (milliseconds last).
  virtual std::string LocalTime() = 0;
};

// The host application object given to Init. Every call runs on the host's
// user-interface thread; a failing call throws Failure.
class IApplication {
 public:
  virtual ~IApplication() = default;
  virtual IUtente& Utente() = 0;
  // Named set-up value (Boolean, integer or text); empty when never set.
  virtual Variant Setup(const std::string& name) = 0;
  virtual void SetSetup(const std::string& name, const Variant& value) = 0;
  virtual void GeneraEvento(const std::string& event, const std::string& value) = 0;
  virtual IFramework& Framework() = 0;
  virtual IRegistry& Registry() = 0;
  virtual IDB& DB() = 0;
  // The archive with this name ("Pazienti", "Esami", "Visite", "PPIP",
  // "Strutture", "Comuni"); throws Failure for an unknown name.
  virtual std::shared_ptr<IArchivio> Archivio(const std::string& name) = 0;
  virtual IBase64& Base64() = 0;
  virtual IApi& API() {
    throw Failure(kMembroNonSupportato,
                  "L'oggetto Application non supporta la proprietà o il metodo API");
  }
  // The patient open on the host's screen; null when none is open.
  virtual std::shared_ptr<IPaziente> Paziente() {
    throw Failure(kMembroNonSupportato,
                  "L'oggetto Application non supporta la proprietà o il metodo Paziente");
  }
  // The host's journal of this workstation.
  virtual IGiornale& Giornale() {
    throw Failure(kMembroNonSupportato,
                  "L'oggetto Application non supporta la proprietà o il metodo Giornale");
  }
};

}  // namespace qzkiro::host
