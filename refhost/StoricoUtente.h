#pragma once

#include <memory>
#include <string>
#include <vector>

#include "qzkiro/host/Workspace.h"
#include "refhost/Workspace.h"

namespace qzkiro::refhost {

// The current user's history (host::IStorico): the rows of
// "<schema>.tblworkspace" of every patient, each read as a RecordWorkspace
// (an additional service is a row of type 209, see RecordWorkspace). Without
// a source the history is empty.
class StoricoUtente : public host::IStorico {
 public:
  void Collega(SorgenteWorkspace sorgente) { sorgente_ = std::move(sorgente); }
  // Throws Failure when `dal` or `al` is not a date "dd/mm/yyyy".
  std::vector<std::shared_ptr<host::IItemStorico>> Lista(int tipo_record, const std::string& dal,
                                                         const std::string& al) override;

 private:
  SorgenteWorkspace sorgente_;
};

// "dd/mm/yyyy" written "yyyy-mm-dd" when it is a real calendar date; "" for
// anything else.
std::string DataIsoStorico(const std::string& data);

}  // namespace qzkiro::refhost
