#pragma once

#include <optional>
#include <string>

#include "sandbox/IdentityProvider.h"
#include "sandbox/Scambio.h"

namespace qzkiro::sandbox::fhir {

// The SAML assertion of "Authorization: IHE-SAML <Base64>": the Base64 of
// the assertion's text or of its raw deflate. Its ID; nullopt when the
// header is not there, names another scheme, or holds no assertion.
std::optional<std::string> IdAsserzione(const std::string& autorizzazione);

// What refuses a request to the FHIR server for its assertion; nullopt when
// it may be served. Missing header or another scheme: 401, ERR_00021; no
// readable assertion: 401, ERR_00023; with `idp`, an assertion it did not
// issue: 403, ERR_00051. Each an OperationOutcome.
std::optional<Risposta> ControllaAsserzione(const Richiesta& richiesta,
                                            const IdentityProvider* idp);

}  // namespace qzkiro::sandbox::fhir
