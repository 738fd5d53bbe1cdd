#include "cda/BustaFirmata.h"

#include <gtest/gtest.h>
// pem.h first: cms.h declares the PEM writer of CMS only after it.
#include <openssl/pem.h>

#include <openssl/cms.h>
#include <openssl/evp.h>
#include <openssl/x509.h>

#include <filesystem>
#include <iterator>
#include <memory>
#include <vector>

#include "support/BustaCms.h"
#include "sandbox/server/CartellaTemporanea.h"
#include "util/File.h"

namespace qzkiro::cda {
namespace {

template <class T, void (*F)(T*)>
struct Libera {
  void operator()(T* p) const { F(p); }
};

// A throw-away key with its self-signed certificate, which signs envelopes
// and, written as PEM, serves as a CA bundle that trusts it.
class Firmatario {
 public:
  explicit Firmatario(const char* nome) : chiave_(EVP_EC_gen("P-256")), certificato_(X509_new()) {
    X509* x = certificato_.get();
    ASN1_INTEGER_set(X509_get_serialNumber(x), 1);
    X509_gmtime_adj(X509_getm_notBefore(x), 0);
    X509_gmtime_adj(X509_getm_notAfter(x), 3600);
    X509_set_pubkey(x, chiave_.get());
    X509_NAME_add_entry_by_txt(X509_get_subject_name(x), "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>(nome), -1, -1, 0);
    X509_set_issuer_name(x, X509_get_subject_name(x));
    X509_sign(x, chiave_.get(), EVP_sha256());
  }

  std::string Firma(const std::string& contenuto, bool pem) const {
    Bio dati(BIO_new_mem_buf(contenuto.data(), static_cast<int>(contenuto.size())));
    std::unique_ptr<CMS_ContentInfo, Libera<CMS_ContentInfo, CMS_ContentInfo_free>> cms(
        CMS_sign(certificato_.get(), chiave_.get(), nullptr, dati.get(), CMS_BINARY));
    Bio uscita(BIO_new(BIO_s_mem()));
    if (pem)
      PEM_write_bio_CMS(uscita.get(), cms.get());
    else
      i2d_CMS_bio(uscita.get(), cms.get());
    return Testo(uscita.get());
  }

  std::string CertificatoPem() const {
    Bio uscita(BIO_new(BIO_s_mem()));
    PEM_write_bio_X509(uscita.get(), certificato_.get());
    return Testo(uscita.get());
  }

 private:
  using Bio = std::unique_ptr<BIO, Libera<BIO, BIO_free_all>>;
  static std::string Testo(BIO* bio) {
    char* byte = nullptr;
    const long lunghezza = BIO_get_mem_data(bio, &byte);
    return std::string(byte, static_cast<std::size_t>(lunghezza));
  }
  std::unique_ptr<EVP_PKEY, Libera<EVP_PKEY, EVP_PKEY_free>> chiave_;
  std::unique_ptr<X509, Libera<X509, X509_free>> certificato_;
};

TEST(BustaFirmataTest, TheSignedContentComesOutOfDerAndPemEnvelopesByteForByte) {
  sandbox::CartellaTemporanea cartella;
  const std::string contenuto = std::string("{\\rtf1 Referto\r\n\0\xff fine}", 24);
  for (bool pem : {false, true}) {
    const auto busta = (cartella.Path() / "Temp.p7m").string();
    const auto uscita = (cartella.Path() / "Temp.rtf").string();
    ASSERT_TRUE(util::ScriviFile(busta, util::ComeByte(testsupport::FirmaCms(contenuto, pem))));
    ASSERT_TRUE(EstraiContenutoFirmato(busta, uscita)) << (pem ? "PEM" : "DER");
    EXPECT_EQ(util::ComeTesto(*util::LeggiFile(uscita)), contenuto);
  }
}

TEST(BustaFirmataTest, NoEnvelopeOrADetachedSignatureWritesNothing) {
  sandbox::CartellaTemporanea cartella;
  const auto busta = (cartella.Path() / "Temp.p7m").string();
  const auto uscita = (cartella.Path() / "uscita").string();
  EXPECT_FALSE(EstraiContenutoFirmato(busta, uscita)) << "no file";
  util::ScriviFile(busta, util::ComeByte("<ClinicalDocument/>"));
  EXPECT_EQ(VerificaContenutoFirmato(busta, uscita), EsitoFirma::NonBusta);
  util::ScriviFile(busta, util::ComeByte(testsupport::FirmaCms("x", false, true)));
  EXPECT_EQ(VerificaContenutoFirmato(busta, uscita), EsitoFirma::Staccata);
  EXPECT_EQ(MessaggioFirma(EsitoFirma::Staccata),
            "Il documento firmato non contiene il contenuto firmato");
  EXPECT_FALSE(EstraiContenutoFirmato(busta, uscita)) << "detached";
  EXPECT_FALSE(util::LeggiFile(uscita));
}

// Flips one byte of `busta` at the first occurrence of `dove` (or at its
// last byte, where the signature value ends, when `dove` is empty).
std::string Altera(std::string busta, const std::string& dove) {
  const auto p = dove.empty() ? busta.size() - 1 : busta.find(dove);
  busta[p] = static_cast<char>(busta[p] ^ 0x01);
  return busta;
}

TEST(BustaFirmataTest, TheContentIsWrittenOnlyWhenTheSignatureAndTheTrustHold) {
  const Firmatario firmatario("Laboratorio"), estraneo("Altro ente");
  const std::string contenuto = "<ClinicalDocument>Referto firmato</ClinicalDocument>";
  const std::string der = firmatario.Firma(contenuto, false);
  struct Caso {
    const char* nome;
    std::string busta;
    std::string ca;  // PEM of the bundle; "-": a bundle file that does not exist
    EsitoFirma atteso;
  };
  const std::vector<Caso> casi = {
      {"DER, no bundle", der, "", EsitoFirma::Valida},
      {"PEM, the signer's own bundle", firmatario.Firma(contenuto, true),
       firmatario.CertificatoPem(), EsitoFirma::Valida},
      {"content altered", Altera(der, "Referto"), "", EsitoFirma::NonValida},
      {"signature value altered", Altera(der, ""), "", EsitoFirma::NonValida},
      {"content altered, trusted signer", Altera(der, "Referto"), firmatario.CertificatoPem(),
       EsitoFirma::NonValida},
      {"another CA", der, estraneo.CertificatoPem(), EsitoFirma::NonAttendibile},
      {"bundle unreadable", der, "-", EsitoFirma::CaIlleggibile},
  };
  for (const auto& c : casi) {
    sandbox::CartellaTemporanea cartella;
    const auto busta = cartella.Scrivi("Part2.p7m", c.busta).string();
    const auto ca = c.ca.empty()  ? ""
                    : c.ca == "-" ? (cartella.Path() / "nessuna.pem").string()
                                  : cartella.Scrivi("ca.pem", c.ca).string();
    const auto uscita = cartella.Scrivi("uscita/CDA2.xml", "documento di prima");
    EXPECT_EQ(VerificaContenutoFirmato(busta, uscita.string(), ca), c.atteso) << c.nome;
    // The folder holds the whole content, or nothing: no older document, no
    // temporary file.
    std::vector<std::string> file;
    for (const auto& voce : std::filesystem::directory_iterator(uscita.parent_path())) {
      file.push_back(voce.path().filename().string());
    }
    if (c.atteso == EsitoFirma::Valida) {
      EXPECT_EQ(file, std::vector<std::string>{"CDA2.xml"}) << c.nome;
      EXPECT_EQ(util::ComeTesto(*util::LeggiFile(uscita.string())), contenuto) << c.nome;
    } else {
      EXPECT_TRUE(file.empty()) << c.nome;
      EXPECT_FALSE(MessaggioFirma(c.atteso).empty()) << c.nome;
    }
  }
  // A content that cannot take its place leaves no temporary file behind.
  sandbox::CartellaTemporanea cartella;
  const auto busta = cartella.Scrivi("Part2.p7m", der).string();
  std::filesystem::create_directories(cartella.Path() / "uscita" / "CDA2.xml");
  EXPECT_EQ(VerificaContenutoFirmato(busta, (cartella.Path() / "uscita" / "CDA2.xml").string()),
            EsitoFirma::NonScritta);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(cartella.Path() / "uscita"),
                          std::filesystem::directory_iterator()),
            1);
  EXPECT_EQ(MessaggioFirma(EsitoFirma::NonValida), "La firma del documento non è valida");
  EXPECT_EQ(MessaggioFirma(EsitoFirma::NonAttendibile),
            "Il certificato del firmatario non è attendibile");
}

}  // namespace
}  // namespace qzkiro::cda
