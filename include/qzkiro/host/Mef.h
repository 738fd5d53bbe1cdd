#pragma once

#include <cstdint>
#include <string>

#include "qzkiro/host/Object.h"
#include "qzkiro/host/Variant.h"

/// \file
/// The host's request to the national therapeutic-plan services.

namespace qzkiro::host {

/// The host's request to the national therapeutic-plan services (the myMEF
/// argument of QZ02031 and QZ02032): what the host asks for, and where the
/// add-on leaves the answer.
class IMEF : public Object {
 public:
  /// What to do: 19 list the patient's plans, 20 view one plan, 21 list and
  /// view the plan found; 22, 23 and 24 (send and cancel) are not offered.
  virtual std::int32_t Operazione() = 0;
  /// The patient's fiscal code.
  virtual std::string Param1() = 0;
  /// The topic of the plans looked for; "" for every topic.
  virtual std::string ParamId() = 0;
  /// The start of the list's period, as the host holds dates ("yyyymmdd",
  /// "yyyy-mm-dd" or "dd/mm/yyyy"); empty when not given.
  virtual Variant paramDallaData() = 0;
  /// The end of the list's period, in the same forms; empty when not given.
  virtual Variant paramAllaData() = 0;
  /// The protocol number of the plan to view.
  virtual std::string paramProtocolloSAC() = 0;
  /// Sets the protocol number of the plan to view (operation 21 sets the one
  /// the list found).
  virtual void SetParamProtocolloSAC(const std::string& valore) = 0;
  /// The answer: a plan's protocol number (list) or the plan document (view).
  virtual std::string Response() = 0;
  /// Sets the answer (see Response); the add-on clears it before each call.
  virtual void SetResponse(const std::string& valore) = 0;
  /// The service's whole answer document.
  virtual std::string ResponseXML() = 0;
  /// Sets the service's whole answer document.
  virtual void SetResponseXML(const std::string& xml) = 0;
  /// An error the service reported: its code and text.
  virtual void SetErrorCode(const std::string& codice, const std::string& descrizione) = 0;
};

}  // namespace qzkiro::host
