#pragma once

#include <memory>
#include <string>

#include "qzkiro/host/Input.h"
#include "qzkiro/host/Ricetta.h"
#include "qzkiro/host/Template.h"
#include "qzkiro/host/Variant.h"

namespace qzkiro::host {

// The host's framework object: protection of stored credentials, child
// dialogs, result containers and templates.
class IFramework {
 public:
  virtual ~IFramework() = default;
  // Reversible protection: Decrypt(Encrypt(t, k), k) == t.
  virtual std::string Encrypt(const std::string& text, const std::string& key) = 0;
  virtual std::string Decrypt(const std::string& text, const std::string& key) = 0;
  // Parameters read by the next dialog opened with OpenChild.
  virtual void SetDialogParameter(const Variant& value) = 0;
  virtual void SetDialogParameter2(const Variant& value) = 0;
  // Opens a host dialog; `omitted` is the argument the add-on leaves out (empty).
  virtual void OpenChild(const std::string& form, bool modal, const Variant& omitted,
                         const std::string& caption) = 0;
  virtual std::shared_ptr<IInput> NewInput() = 0;
  // The national reference time as "yyyy-mm-dd hh:nn:ss" (local time), ""
  // when the host could not get it.
  virtual std::string TimeStampOraEsatta() = 0;
  // The second authentication factor the host keeps: the current one-time
  // token ("" when none), storing it with its expiry ("yyyy-mm-dd hh:nn:ss"),
  // and the host's own dialog that obtains a new one (false when dismissed).
  virtual std::string TokenMef2F() = 0;
  virtual void ImpostaTokenMef2F(const std::string& token, const std::string& scadenza) = 0;
  virtual bool AutenticazioneMef2F(const std::string& titolo, const std::string& pulsante,
                                   const std::string& didascalia) = 0;
  // The GUID of the user's login session on the host.
  virtual std::string GetSmartGUID() = 0;
  // The identity provider's credentials of the user, for the host's own use.
  virtual void SetCredenzialiSAR(const std::string& utente, const std::string& password,
                                 const std::string& altro) = 0;
  // A new request template loaded from a template file; `parent` is empty.
  virtual std::shared_ptr<ITemplate> newTemplate(const std::string& file,
                                                 const Variant& parent) = 0;
  // A new, empty prescription object (loaded with FromString).
  virtual std::shared_ptr<IRicetta> NewRicetta() = 0;
};

}  // namespace qzkiro::host
