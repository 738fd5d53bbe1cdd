#pragma once

#include <functional>
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
// Runs a service call that needs the second factor. `chiamata` gets the
// token to put into its assertion request ("" when the second factor is off)
// and leaves its failure in the last error. A token is asked only when the
// second factor is on and the host holds none; a dismissed dialog ends with
// "Operazione annullata dall'utente". When the service refuses the token
// (ErroreToken2F), a new one is asked and the call made again, once.
bool ConToken2F(const std::function<bool(const std::string& token)>& chiamata);
// Announces the user's login session to the region's multi-factor service so
// it can push a code; on failure the last error is shown.
bool InviaIDSessione();

}  // namespace qzkiro::net
