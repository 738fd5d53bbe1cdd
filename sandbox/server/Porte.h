#pragma once

#include <string>

namespace qzkiro::sandbox {

// Loopback ports for the local servers the sandbox starts.

// A loopback socket bound to a port the system picks, written to `porta`;
// throws std::runtime_error when none can be bound.
int SocketLegato(int* porta);
// A port free right now (the socket that held it is closed).
int PortaLibera();
// Something accepts connections on 127.0.0.1:`porta`.
bool Risponde(int porta);
// "127.0.0.1:" + `porta`.
std::string Loopback(int porta);

}  // namespace qzkiro::sandbox
