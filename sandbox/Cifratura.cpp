#include "sandbox/Cifratura.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rsa.h>

#include <cstdio>
#include <memory>

namespace qzkiro::sandbox {

namespace {
struct ChiudiFile {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
struct LiberaChiave {
  void operator()(EVP_PKEY* k) const { EVP_PKEY_free(k); }
};
struct LiberaContesto {
  void operator()(EVP_PKEY_CTX* c) const { EVP_PKEY_CTX_free(c); }
};
}  // namespace

std::optional<std::string> DecifraRsa(const std::filesystem::path& chiave,
                                      std::string_view cifrato) {
  std::unique_ptr<std::FILE, ChiudiFile> file(std::fopen(chiave.c_str(), "rb"));
  if (!file) return std::nullopt;
  std::unique_ptr<EVP_PKEY, LiberaChiave> pkey(
      PEM_read_PrivateKey(file.get(), nullptr, nullptr, nullptr));
  if (!pkey) return std::nullopt;
  std::unique_ptr<EVP_PKEY_CTX, LiberaContesto> ctx(EVP_PKEY_CTX_new(pkey.get(), nullptr));
  if (!ctx || EVP_PKEY_decrypt_init(ctx.get()) <= 0 ||
      EVP_PKEY_CTX_set_rsa_padding(ctx.get(), RSA_PKCS1_PADDING) <= 0) {
    return std::nullopt;
  }
  const auto* dati = reinterpret_cast<const unsigned char*>(cifrato.data());
  size_t lunghezza = 0;
  if (EVP_PKEY_decrypt(ctx.get(), nullptr, &lunghezza, dati, cifrato.size()) <= 0) {
    return std::nullopt;
  }
  std::string chiaro(lunghezza, '\0');
  if (EVP_PKEY_decrypt(ctx.get(), reinterpret_cast<unsigned char*>(chiaro.data()), &lunghezza, dati,
                       cifrato.size()) <= 0) {
    return std::nullopt;
  }
  chiaro.resize(lunghezza);
  return chiaro;
}

}  // namespace qzkiro::sandbox
