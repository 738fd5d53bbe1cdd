#pragma once

#include <string>

namespace qzkiro::cda {

// Unwraps a PKCS#7 / CMS signed-data envelope (DER, or PEM "-----BEGIN PKCS7"
// / "-----BEGIN CMS") in file `busta` and writes the signed content into
// file `contenuto`. The signature is not checked against a trust store: the
// repository already vouches for the document; only the structure must hold.
// False, writing nothing, when the file is not such an envelope or carries no
// content of its own (a detached signature).
bool EstraiContenutoFirmato(const std::string& busta, const std::string& contenuto);

}  // namespace qzkiro::cda
