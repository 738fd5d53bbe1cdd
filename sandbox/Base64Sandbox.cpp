#include "sandbox/Base64Sandbox.h"

#include <openssl/evp.h>

#include <cctype>

namespace qzkiro::sandbox {

std::string DaBase64(std::string_view testo) {
  std::string pulito;
  for (char c : testo) {
    if (!std::isspace(static_cast<unsigned char>(c))) pulito += c;
  }
  std::string out(pulito.size(), '\0');
  const int n = EVP_DecodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                                reinterpret_cast<const unsigned char*>(pulito.data()),
                                static_cast<int>(pulito.size()));
  if (n < 0) return {};
  const std::size_t padding = pulito.ends_with("==") ? 2 : pulito.ends_with("=") ? 1 : 0;
  out.resize(static_cast<std::size_t>(n) - padding);
  return out;
}

std::string InBase64(std::string_view dati) {
  std::string out(4 * ((dati.size() + 2) / 3) + 1, '\0');
  const int n = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                                reinterpret_cast<const unsigned char*>(dati.data()),
                                static_cast<int>(dati.size()));
  out.resize(static_cast<std::size_t>(n));
  return out;
}

}  // namespace qzkiro::sandbox
