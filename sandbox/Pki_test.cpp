#include "sandbox/Pki.h"

#include <gtest/gtest.h>
#include <openssl/pkcs12.h>
#include <openssl/x509.h>
#include <unistd.h>

#include "sandbox/Cifratura.h"
#include "sandbox/prova/Strumenti.h"

namespace qzkiro::sandbox {
namespace {

using prova::CifraRsa;
using prova::Leggi;

// The subject CN of the certificate in a PKCS#12 file; "" when it does not open with `password`.
std::string CnDelP12(const std::filesystem::path& file, const char* password) {
  std::FILE* f = std::fopen(file.c_str(), "rb");
  PKCS12* p12 = f ? d2i_PKCS12_fp(f, nullptr) : nullptr;
  if (f) std::fclose(f);
  EVP_PKEY* chiave = nullptr;
  X509* cert = nullptr;
  std::string cn;
  if (p12 && PKCS12_parse(p12, password, &chiave, &cert, nullptr) == 1 && chiave && cert) {
    char testo[256] = {};
    X509_NAME_get_text_by_NID(X509_get_subject_name(cert), NID_commonName, testo, sizeof testo);
    cn = testo;
  }
  X509_free(cert);
  EVP_PKEY_free(chiave);
  PKCS12_free(p12);
  return cn;
}

// That each key opens what its certificate encrypts is shown, with the add-on's
// own encryption, by tests/integration/cifra_rsa_test.cpp.
TEST(Pki, AKeyOpensNothingElse) {
  const Pki pki = Pki::DellaCompilazione();
  const std::string codice_fiscale = "RSSMRA80A01H501U";
  const std::string per_idp = CifraRsa(pki.Idp(), codice_fiscale);
  ASSERT_EQ(per_idp.size(), 256u) << "RSA 2048";
  EXPECT_NE(DecifraRsa(pki.ChiaveSarCf(), per_idp), codice_fiscale);
  EXPECT_EQ(DecifraRsa(pki.cartella / "nessuna.key", per_idp), std::nullopt);
}

TEST(Pki, ScriptMakesOnlyTheMissingFiles) {
  const Pki origine = Pki::DellaCompilazione();
  const auto cartella =
      std::filesystem::temp_directory_path() / ("sandbox_pki_" + std::to_string(getpid()));
  std::filesystem::remove_all(cartella);
  std::filesystem::create_directories(cartella);
  for (const auto& voce : std::filesystem::directory_iterator(origine.cartella)) {
    if (voce.path().extension() != ".lock") std::filesystem::copy(voce.path(), cartella);
  }
  Pki copia{cartella};
  std::filesystem::remove(copia.ClientP12());
  std::filesystem::remove(copia.ChiaveIdp());

  const Pki rifatta = Pki::Crea(cartella);
  EXPECT_TRUE(rifatta.Completa());
  for (const auto& file : {&Pki::Ca, &Pki::Server, &Pki::ClientPem, &Pki::SarCf}) {
    EXPECT_EQ(Leggi((rifatta.*file)()), Leggi((origine.*file)())) << (rifatta.*file)();
  }
  EXPECT_NE(Leggi(rifatta.Idp()), Leggi(origine.Idp())) << "certificato rifatto con la chiave";
  const std::string cf = "RSSMRA80A01H501U";
  EXPECT_EQ(DecifraRsa(rifatta.ChiaveIdp(), CifraRsa(rifatta.Idp(), cf)), cf);
  EXPECT_EQ(CnDelP12(rifatta.ClientP12(), "kiro"), "MEDICO PROVA");
  EXPECT_EQ(CnDelP12(rifatta.ClientP12(), "altra"), "");
  EXPECT_EQ(CnDelP12(rifatta.EstraneoP12(), "kiro"), "ESTRANEO");
  std::filesystem::remove_all(cartella);
}

}  // namespace
}  // namespace qzkiro::sandbox
