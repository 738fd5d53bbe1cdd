#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace qzkiro::sandbox {

// Decrypts RSA PKCS#1 v1.5 ciphertext with the PEM private key in `chiave`
// (the add-on encrypts fields with the public key of idp.pem or sarcf.pem);
// nullopt when the key is unreadable or the ciphertext is not for it.
std::optional<std::string> DecifraRsa(const std::filesystem::path& chiave,
                                      std::string_view cifrato);

}  // namespace qzkiro::sandbox
