#pragma once

#include <chrono>
#include <string>

namespace qzkiro::refhost {

// The environment variable that names the program opening documents: a
// command line, cut into arguments as DividiArgomenti (Comando.h) does.
inline constexpr const char* kVariabileApriDocumento = "QZKIRO_APRI_DOCUMENTO";

// Opens a document or a web address with the desktop's program for it, as
// the host's StartExDoc does: runs the command of kVariabileApriDocumento, or
// "xdg-open" when it is unset or empty, with `documento` as its last
// argument, never through a shell, with input and output on /dev/null.
// Waits for the command up to `attesa`: true when it ended with exit code 0,
// or is still running then (an opener that stays with the program it
// started; it is left running and reaped when it ends); false when it could
// not start or failed.
bool ApriDocumento(const std::string& documento,
                   std::chrono::milliseconds attesa = std::chrono::seconds(10));

}  // namespace qzkiro::refhost
