#pragma once

#include <string>

namespace qzkiro::portale {

// The user setting that holds the address of the regional operator portal's
// login page, and the address used when it is empty.
inline constexpr const char* kImpostazioneIndirizzo = "KIRO.IndirizzoPortale";
inline constexpr const char* kIndirizzoPredefinito = "https://127.0.0.1:9443/portale/login";

// The login page for `utente`: `indirizzo` with the query parameter
// "username" (percent-encoded) added, so the page opens with the user name
// filled in; `indirizzo` itself when there is no user. The password never
// travels in the address.
std::string IndirizzoAccesso(const std::string& indirizzo, const std::string& utente);

}  // namespace qzkiro::portale
