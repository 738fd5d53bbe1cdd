#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "qzkiro/ModuliFse.h"
#include "xds/Consensi.h"

namespace qzkiro::consent {

using qzkiro::IconaConsenso;
using qzkiro::RigaInfoConsenso;
using qzkiro::frmInfoPortale;

// The summary of the consents in force, one line per kind in publication
// order (frmInfoConsensoFSE).
std::vector<RigaInfoConsenso> RigheInfoConsenso(const xds::ConsensiInVigore& consensi);

// A registry date "yyyymmdd[hhnnss...]" shown "dd/mm/yyyy"; shorter text as
// it is.
std::string DataMostrata(std::string_view data);

}  // namespace qzkiro::consent
