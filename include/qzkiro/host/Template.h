#pragma once

#include <string>

#include "qzkiro/host/Object.h"
#include "qzkiro/host/Variant.h"

/// \file
/// The host's request templates.

namespace qzkiro::host {

/// A request template loaded from a template file, with named entries such as
/// "Parametro.Paziente.CodiceFiscale".
class ITemplate : public Object {
 public:
  /// Sets the entry `key` to `value` (the add-on adds "Versione" to every
  /// regional request).
  virtual void Add(const std::string& key, const Variant& value) = 0;
  /// The request text with the entries filled in.
  virtual std::string Template() = 0;
};

}  // namespace qzkiro::host
