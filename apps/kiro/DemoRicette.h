#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>

#include "Verifica.h"
#include "qzkiro/Plugin.h"
#include "sandbox/Ambiente.h"

namespace qzkiro::kiro {

// The e-prescription services of the sandbox through the add-on's entry
// points: a list of two red prescriptions and a white one is sent, one is
// viewed and one cancelled; each prescription's final state is printed.
// `ricette` is the folder of the host's sample prescriptions.
void DemoRicette(Plugin& plugin, sandbox::Ambiente& ambiente, const std::filesystem::path& ricette,
                 Verifica& verifica, std::ostream& out);

}  // namespace qzkiro::kiro
