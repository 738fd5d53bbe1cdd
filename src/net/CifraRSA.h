#pragma once

#include <string>

namespace qzkiro::net {

// RSA PKCS#1 v1.5 encryption of a short text with the public key of the
// certificate in the file `certificato` (PEM or DER), as the services expect
// passwords and patient fields: the text's ISO-8859-1 bytes are encrypted and
// the result is given in Base64 (one line). "" for an empty text, and when the
// certificate cannot be read or the text is too long for the key.
std::string CifraRSA(const std::string& testo, const std::string& certificato);

}  // namespace qzkiro::net
