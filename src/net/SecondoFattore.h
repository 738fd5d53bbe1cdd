#pragma once

#include <string>

namespace qzkiro::net {

// The second authentication factor that some services require besides the
// assertion. The host keeps the token; the add-on asks for it, passes it to
// the identity provider ("codOTP") and notices when a service refuses it.

// True when the host's set-up turns the second factor on ("Autenticazione2F").
bool Richiesto2F();
// When the second factor is required, the host's dialog obtains a new token;
// its answer (true when no second factor is required).
bool ChiediToken2F();
// The host's current token.
std::string Token2F();
// After a failed call: true when the last error says the one-time code was
// refused; the token is then cleared and the user told a new one follows.
bool ErroreToken2F();
// Stores the token with an expiry eight hours from now; always true.
bool ImpostaToken2F(const std::string& token);
// Announces the user's login session to the region's multi-factor service so
// it can push a code; on failure the last error is shown.
bool InviaIDSessione();

}  // namespace qzkiro::net
