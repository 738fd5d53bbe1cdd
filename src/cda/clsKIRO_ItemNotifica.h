#pragma once

#include <string>

namespace qzkiro::cda {

// One notification of the regional record: its identifiers, dates and the
// code of the document it announces.
class clsKIRO_ItemNotifica {
 public:
  std::string ID;
  std::string IDDocumento;
  std::string Data;
  std::string TipoDocumento;  // "kiro_tc001" ... "kiro_cc006"

  // The description of TipoDocumento, "" for a code the region does not use.
  std::string DescrizioneTipoDocumento() const;
};

}  // namespace qzkiro::cda
