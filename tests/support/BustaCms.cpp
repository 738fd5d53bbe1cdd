#include "support/BustaCms.h"

#include <openssl/pem.h>

#include <openssl/cms.h>
#include <openssl/evp.h>
#include <openssl/x509.h>

#include <memory>
#include <stdexcept>

namespace qzkiro::testsupport {

namespace {

template <class T, void (*F)(T*)>
struct Libera {
  void operator()(T* p) const { F(p); }
};
using Chiave = std::unique_ptr<EVP_PKEY, Libera<EVP_PKEY, EVP_PKEY_free>>;
using Certificato = std::unique_ptr<X509, Libera<X509, X509_free>>;
using Bio = std::unique_ptr<BIO, Libera<BIO, BIO_free_all>>;
using Cms = std::unique_ptr<CMS_ContentInfo, Libera<CMS_ContentInfo, CMS_ContentInfo_free>>;

Certificato Autofirmato(EVP_PKEY* chiave) {
  Certificato x(X509_new());
  X509_set_version(x.get(), 2);
  ASN1_INTEGER_set(X509_get_serialNumber(x.get()), 1);
  X509_gmtime_adj(X509_getm_notBefore(x.get()), 0);
  X509_gmtime_adj(X509_getm_notAfter(x.get()), 3600);
  X509_set_pubkey(x.get(), chiave);
  X509_NAME* nome = X509_get_subject_name(x.get());
  X509_NAME_add_entry_by_txt(nome, "CN", MBSTRING_ASC,
                             reinterpret_cast<const unsigned char*>("Firma di prova"), -1, -1, 0);
  X509_set_issuer_name(x.get(), nome);
  X509_sign(x.get(), chiave, EVP_sha256());
  return x;
}

}  // namespace

std::string FirmaCms(const std::string& contenuto, bool pem, bool staccata) {
  Chiave chiave(EVP_EC_gen("P-256"));
  if (!chiave) throw std::runtime_error("chiave di prova non creata");
  Certificato certificato = Autofirmato(chiave.get());
  Bio dati(BIO_new_mem_buf(contenuto.data(), static_cast<int>(contenuto.size())));
  Cms cms(CMS_sign(certificato.get(), chiave.get(), nullptr, dati.get(),
                   CMS_BINARY | (staccata ? CMS_DETACHED : 0)));
  if (!cms) throw std::runtime_error("busta CMS di prova non creata");
  Bio uscita(BIO_new(BIO_s_mem()));
  const int scritto =
      pem ? PEM_write_bio_CMS(uscita.get(), cms.get()) : i2d_CMS_bio(uscita.get(), cms.get());
  if (scritto != 1) throw std::runtime_error("busta CMS di prova non scritta");
  char* byte = nullptr;
  const long lunghezza = BIO_get_mem_data(uscita.get(), &byte);
  return std::string(byte, static_cast<std::size_t>(lunghezza));
}

}  // namespace qzkiro::testsupport
