#pragma once

#include <filesystem>
#include <iosfwd>

#include "Verifica.h"
#include "qzkiro/Plugin.h"
#include "refhost/Applicazione.h"
#include "sandbox/Ambiente.h"

namespace qzkiro::kiro {

// One home blood-sample request (QZ04047) through the sandbox's relay over
// TLS. When an SMTP server (aiosmtpd, "/usr/bin/python3 -m aiosmtpd") can be
// started on loopback, the relay mails the request through it into a
// Maildir under `lavoro`, and the message is read back: its subject, and the
// attached archive opened with the add-on's password down to the PDF that
// names the patient. Without one, it says so and shows the relay's refusal.
void DemoPrelievi(Plugin& plugin, sandbox::Ambiente& ambiente, refhost::Applicazione& host,
                  const std::filesystem::path& lavoro, Verifica& verifica, std::ostream& out);

}  // namespace qzkiro::kiro
