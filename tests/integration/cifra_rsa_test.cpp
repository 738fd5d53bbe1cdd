// Fields encrypted by the add-on are decrypted by the services' side with
// the private key of the same certificate.

#include <gtest/gtest.h>
#include <openssl/pem.h>
#include <openssl/x509.h>

#include <cstdio>

#include "net/CifraRSA.h"
#include "sandbox/Cifratura.h"
#include "sandbox/Pki.h"
#include "sandbox/server/CartellaTemporanea.h"
#include "util/clsBase64.h"

namespace qzkiro::net {
namespace {

std::string Decifra(const std::filesystem::path& chiave, const std::string& base64) {
  auto cifrato = util::clsBase64::DecodeBytes(base64);
  if (!cifrato) return "(non Base64)";
  return sandbox::DecifraRsa(chiave, util::ComeTesto(*cifrato)).value_or("(non decifrabile)");
}

TEST(CifraRSATest, ServicesReadWhatTheAddOnEncrypts) {
  const auto pki = sandbox::Pki::DellaCompilazione();
  const std::string password =
      "Nonce123"
      "2026-12-06T10:30:00Z"
      "pässword";
  const std::string cifrato = CifraRSA(password, pki.Idp().string());
  ASSERT_FALSE(cifrato.empty());
  EXPECT_EQ(cifrato.size(), 344u) << "one line: 256 bytes of a 2048-bit key";
  EXPECT_EQ(Decifra(pki.ChiaveIdp(), cifrato), "Nonce1232026-12-06T10:30:00Zp\xE4ssword")
      << "the text travels as ISO-8859-1";
  EXPECT_NE(CifraRSA(password, pki.Idp().string()), cifrato) << "PKCS#1 v1.5 padding is random";
  EXPECT_EQ(Decifra(pki.ChiaveSarCf(), CifraRSA("RSSMRA70A01L736S", pki.SarCf().string())),
            "RSSMRA70A01L736S");

  // The same certificate in DER form, as ".cer" files often are.
  sandbox::CartellaTemporanea cartella;
  const auto der = (cartella.Path() / "fse.cer").string();
  std::FILE* in = std::fopen(pki.SarCf().c_str(), "r");
  X509* cert = PEM_read_X509(in, nullptr, nullptr, nullptr);
  std::fclose(in);
  std::FILE* out = std::fopen(der.c_str(), "wb");
  i2d_X509_fp(out, cert);
  std::fclose(out);
  X509_free(cert);
  EXPECT_EQ(Decifra(pki.ChiaveSarCf(), CifraRSA("BNCGLI80A41L736C", der)), "BNCGLI80A41L736C");

  EXPECT_EQ(CifraRSA("", pki.Idp().string()), "");
  EXPECT_EQ(CifraRSA("x", (cartella.Path() / "manca.cer").string()), "");
  EXPECT_EQ(CifraRSA(std::string(300, 'x'), pki.Idp().string()), "") << "too long for the key";
}

}  // namespace
}  // namespace qzkiro::net
