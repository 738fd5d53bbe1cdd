#pragma once

#include <cstdint>
#include <string>

#include "qzkiro/Failure.h"

/// \file
/// The host's current user and the user's stored items.

namespace qzkiro::host {

class IStorico;

/// The current user's stored setting items.
class IItems {
 public:
  virtual ~IItems() = default;
  /// The stored text for the key, "" when absent.
  virtual std::string GetItem(const std::string& key) = 0;
  /// Stores the text for the key. The add-on keeps its user settings
  /// ("KIRO.Debug", "KIRO.CheckFSE", ...) and the ids it caches here.
  virtual void SetItem(const std::string& key, const std::string& value) = 0;
};

/// The host's current user (the doctor working at the host).
class IUtente {
 public:
  virtual ~IUtente() = default;
  /// The user's fiscal code: the sender of the regional messages and the
  /// user of the identity provider's requests.
  virtual std::string CodiceFiscale() = 0;
  /// Local health unit code, such as "050507".
  virtual std::string CodiceRegioneASL() = 0;
  /// The kind of user: 0 and 1 doctors who hold the practice (only they may
  /// change the identity provider's password through QZ01011); 2 to 4 users
  /// who act for a doctor, the responsible doctor of their assertions.
  virtual std::int16_t Tipo() = 0;
  /// The user's temporary folder: where the add-on writes the files it makes
  /// (flow files, retrieved documents, reports).
  virtual std::string TempDir() = 0;
  /// The user's surname.
  virtual std::string Cognome() = 0;
  /// The user's name.
  virtual std::string Nome() = 0;
  /// The user's full name as the host shows it.
  virtual std::string NomeCompleto() = 0;
  /// The doctor's regional code.
  virtual std::string CodiceRegionale() = 0;
  /// Name of the user's database schema.
  virtual std::string IDSchema() = 0;
  /// The user's e-mail address.
  virtual std::string Email() = 0;
  /// The code of the user's facility, sent to the identity provider.
  virtual std::string CodiceStruttura() = 0;
  /// The user's stored setting items.
  virtual IItems& Items() = 0;
  /// A new temporary file name in TempDir (the file is not created).
  virtual std::string TempFile() {
    throw Failure(kMembroNonSupportato,
                  "L'oggetto Utente non supporta la proprietà o il metodo TempFile");
  }
  /// The user's history of the services given to every patient (see Workspace.h).
  virtual IStorico& Storico() {
    throw Failure(kMembroNonSupportato,
                  "L'oggetto Utente non supporta la proprietà o il metodo Storico");
  }
};

}  // namespace qzkiro::host
