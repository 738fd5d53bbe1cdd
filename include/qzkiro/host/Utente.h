#pragma once

#include <cstdint>
#include <string>

#include "qzkiro/Failure.h"

namespace qzkiro::host {

class IStorico;

// The current user's stored setting items.
class IItems {
 public:
  virtual ~IItems() = default;
  // The stored text for the key, "" when absent.
  virtual std::string GetItem(const std::string& key) = 0;
  virtual void SetItem(const std::string& key, const std::string& value) = 0;
};

// The host's current user (the doctor working at the host).
class IUtente {
 public:
  virtual ~IUtente() = default;
  virtual std::string CodiceFiscale() = 0;
  // Local health unit code, such as "050507".
  virtual std::string CodiceRegioneASL() = 0;
  virtual std::int16_t Tipo() = 0;
  virtual std::string TempDir() = 0;
  virtual std::string Cognome() = 0;
  virtual std::string Nome() = 0;
  virtual std::string NomeCompleto() = 0;
  virtual std::string CodiceRegionale() = 0;
  // Name of the user's database schema.
  virtual std::string IDSchema() = 0;
  virtual std::string Email() = 0;
  // The code of the user's facility, sent to the identity provider.
  virtual std::string CodiceStruttura() = 0;
  virtual IItems& Items() = 0;
  // A new temporary file name in TempDir (the file is not created).
  virtual std::string TempFile() {
    throw Failure(kMembroNonSupportato,
                  "L'oggetto Utente non supporta la proprietà o il metodo TempFile");
  }
  // The user's history of the services given to every patient (see Workspace.h).
  virtual IStorico& Storico() {
    throw Failure(kMembroNonSupportato,
                  "L'oggetto Utente non supporta la proprietà o il metodo Storico");
  }
};

}  // namespace qzkiro::host
