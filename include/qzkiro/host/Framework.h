#pragma once

#include <memory>
#include <string>

#include "qzkiro/host/Input.h"
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
  // The identity provider's credentials of the user, for the host's own use.
  virtual void SetCredenzialiSAR(const std::string& utente, const std::string& password,
                                 const std::string& altro) = 0;
  // A new request template loaded from a template file; `parent` is empty.
  virtual std::shared_ptr<ITemplate> newTemplate(const std::string& file,
                                                 const Variant& parent) = 0;
};

}  // namespace qzkiro::host
