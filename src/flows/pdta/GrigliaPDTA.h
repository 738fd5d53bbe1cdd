#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "qzkiro/host/Griglia.h"
#include "qzkiro/host/Variant.h"

namespace qzkiro::pdta {

// Fills the host's grid: the header in row 0 (fixed), then one row per line,
// the progress bar (when there is one) going from 0 to the number of lines
// as they are written and back to 0 at the end. Answers the number of lines.
std::int32_t RiempiGriglia(host::IGriglia& griglia, host::IProgressBar* barra,
                           const std::vector<std::string>& intestazioni,
                           const std::vector<std::vector<std::string>>& righe);

// The lines of an indicator file (nullopt: the text was none) shown in the
// grid and progress bar the host passed; 0 with the last error set when the
// grid or the data are missing.
std::int32_t MostraRighe(host::Variant& grid, host::Variant& barra,
                         const std::vector<std::string>& intestazioni,
                         const std::optional<std::vector<std::vector<std::string>>>& righe);

// The grid the host passed; null, with the last error set, when it is none.
std::shared_ptr<host::IGriglia> GrigliaDi(const host::Variant& grid);

}  // namespace qzkiro::pdta
