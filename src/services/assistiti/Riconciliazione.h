#pragma once

#include <string>
#include <vector>

#include "services/assistiti/ElencoAssistiti.h"

namespace qzkiro::assistiti {

// The host's list of the doctor's patients against the server's.
struct Riconciliazione {
  // On the server, not among the host's: new patients of the doctor, in the
  // server's order, each once.
  std::vector<AssistitoFse> nuovi;
  // The host's, no longer on the server: no longer the doctor's patients, in
  // the host's order, each once.
  std::vector<std::string> revocati;
};

// Fiscal codes match without regard to letter case and surrounding blanks; a
// server patient without fiscal code matches none of the host's.
Riconciliazione Riconcilia(const std::vector<std::string>& cf_host,
                           const std::vector<AssistitoFse>& server);

}  // namespace qzkiro::assistiti
