#include "net/CifraRSA.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rsa.h>
#include <openssl/x509.h>

#include <memory>

#include "util/Testo.h"
#include "util/clsBase64.h"

namespace qzkiro::net {

namespace {

using X509Ptr = std::unique_ptr<X509, decltype(&X509_free)>;
using BioPtr = std::unique_ptr<BIO, decltype(&BIO_free)>;
using CtxPtr = std::unique_ptr<EVP_PKEY_CTX, decltype(&EVP_PKEY_CTX_free)>;

// The certificate in PEM, or else DER (".cer" files come either way).
X509Ptr LeggiCertificato(const std::string& file) {
  BioPtr bio(BIO_new_file(file.c_str(), "rb"), BIO_free);
  if (!bio) return X509Ptr(nullptr, X509_free);
  X509Ptr cert(PEM_read_bio_X509(bio.get(), nullptr, nullptr, nullptr), X509_free);
  if (cert) return cert;
  BIO_reset(bio.get());
  return X509Ptr(d2i_X509_bio(bio.get(), nullptr), X509_free);
}

}  // namespace

std::string CifraRSA(const std::string& testo, const std::string& certificato) {
  if (testo.empty()) return {};
  X509Ptr cert = LeggiCertificato(certificato);
  if (!cert) return {};
  EVP_PKEY* chiave = X509_get0_pubkey(cert.get());  // owned by the certificate
  CtxPtr ctx(chiave ? EVP_PKEY_CTX_new(chiave, nullptr) : nullptr, EVP_PKEY_CTX_free);
  const std::string byte = util::Utf8ToLatin1(testo);
  const auto* in = reinterpret_cast<const unsigned char*>(byte.data());
  std::size_t lunghezza = 0;
  if (!ctx || EVP_PKEY_encrypt_init(ctx.get()) <= 0 ||
      EVP_PKEY_CTX_set_rsa_padding(ctx.get(), RSA_PKCS1_PADDING) <= 0 ||
      EVP_PKEY_encrypt(ctx.get(), nullptr, &lunghezza, in, byte.size()) <= 0) {
    return {};
  }
  util::Bytes cifrato(lunghezza);
  if (EVP_PKEY_encrypt(ctx.get(), cifrato.data(), &lunghezza, in, byte.size()) <= 0) return {};
  cifrato.resize(lunghezza);
  return util::clsBase64::EncodeBytes(cifrato);
}

}  // namespace qzkiro::net
