#pragma once

#include <string>

namespace qzkiro::testsupport {

// A CMS signed-data envelope of `contenuto` made with a throw-away key and
// self-signed certificate, as DER bytes (or PEM text), one byte per character;
// `staccata`: the signature alone, without the content.
std::string FirmaCms(const std::string& contenuto, bool pem = false, bool staccata = false);

}  // namespace qzkiro::testsupport
