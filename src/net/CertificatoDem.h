#pragma once

#include <string>

namespace qzkiro::net {

// The client certificate of the national e-prescription services, which some
// local health units also require: the one of the settings, else the
// certificate shipped in the add-on's folder, with its password (deciphered
// once per load).
std::string CertificatoDem();
std::string PasswordCertificatoDem();

}  // namespace qzkiro::net
