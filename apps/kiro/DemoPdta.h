#pragma once

#include <filesystem>
#include <iosfwd>

#include "Verifica.h"
#include "qzkiro/Plugin.h"
#include "refhost/Applicazione.h"

namespace qzkiro::kiro {

// The PDTA indicators of unit 050505 for 2025: a few diary records of the
// demo user's patients in the host database, the indicators computed
// (QZ04048_Carica) and shown in a grid (QZ04048_RefreshGrid), then the file
// sent (QZ04048_Invio) to an OpenSSH server the demo starts on loopback,
// with a throw-away system account and its host key pinned. Without a
// PostgreSQL server (PG* variables) or without root and sshd, it says what
// it could not do and why.
void DemoPdta(Plugin& plugin, refhost::Applicazione& host,
              Verifica& verifica, std::ostream& out);

}  // namespace qzkiro::kiro
