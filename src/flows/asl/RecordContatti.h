#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "flows/asl/ContattiAsl.h"
#include "qzkiro/host/Archivio.h"
#include "qzkiro/host/Contatti.h"

namespace qzkiro::asl {

// The host's lookups the contact file needs, handed in so that the mapping
// is tested without a host.
struct ArchiviContatti {
  std::function<std::optional<host::VocePPIP>(const std::string& id)> ppip;
  std::function<std::string(const std::string& comune)> catastale;
  std::function<std::string(const std::string& comune)> istat;
  // A prescription object read from its stored text; null when unreadable.
  std::function<std::shared_ptr<host::IRicetta>(const std::string& testo)> ricetta;
};

// Groups the grid's records by patient (in order of first appearance) and
// turns each into the line the unit expects: accesses, home visits and
// admission requests become "accesso"; PPIP services and vaccinations become
// "ppip" only when their catalogue code is accepted by the unit. A record of
// another category adds nothing.
std::vector<AssistitoContatti> RaccogliContatti(
    const std::vector<std::shared_ptr<host::IRecordContatto>>& records,
    const std::string& codice_asl, const ArchiviContatti& archivi);

}  // namespace qzkiro::asl
