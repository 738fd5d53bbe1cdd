#pragma once

#include <string>
#include <vector>

#include "qzkiro/host/Object.h"
#include "qzkiro/host/Variant.h"

/// \file
/// The host's result container and its XML records.

namespace qzkiro::host {

/// A result container: the services add records to it with the host's Add…
/// members (AddPaziente, AddAnagrafica, AddRefertoParziale, ...). Every member
/// is reached by name with its arguments in order, as a late-bound call; a
/// member that creates a record returns it (for instance AddPaziente), the
/// others return an empty Variant.
class IInput : public Object {
 public:
  /// Calls the container's member `member` with `args`; the record it
  /// created, or an empty Variant.
  virtual Variant Add(const std::string& member, const std::vector<Variant>& args) = 0;
};

/// A record of the result container that is an XML node (an admission made by
/// AddRicovero): its child elements are read and written by name.
class IRecordXML : public Object {
 public:
  /// Sets the text of the child `nome`, creating it when missing.
  virtual void ImpostaFiglio(const std::string& nome, const std::string& testo) = 0;
  /// The text of the child `nome`, "" when missing.
  virtual std::string Figlio(const std::string& nome) const = 0;
};

}  // namespace qzkiro::host
