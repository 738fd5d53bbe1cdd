#include "cda/BustaFirmata.h"

// pem.h first: cms.h declares the PEM reader of CMS only after it.
#include <openssl/pem.h>

#include <openssl/bio.h>
#include <openssl/cms.h>

#include <memory>

#include "util/File.h"

namespace qzkiro::cda {

namespace {

using Cms = std::unique_ptr<CMS_ContentInfo, decltype(&CMS_ContentInfo_free)>;

Cms Leggi(const util::Bytes& byte) {
  std::unique_ptr<BIO, decltype(&BIO_free)> bio(
      BIO_new_mem_buf(byte.data(), static_cast<int>(byte.size())), BIO_free);
  if (!bio) return {nullptr, CMS_ContentInfo_free};
  const bool pem =
      byte.size() > 11 && std::string(byte.begin(), byte.begin() + 11) == "-----BEGIN ";
  CMS_ContentInfo* cms = pem ? PEM_read_bio_CMS(bio.get(), nullptr, nullptr, nullptr)
                             : d2i_CMS_bio(bio.get(), nullptr);
  return {cms, CMS_ContentInfo_free};
}

}  // namespace

bool EstraiContenutoFirmato(const std::string& busta, const std::string& contenuto) {
  const auto byte = util::LeggiFile(busta);
  if (!byte || byte->empty()) return false;
  Cms cms = Leggi(*byte);
  if (!cms || OBJ_obj2nid(CMS_get0_type(cms.get())) != NID_pkcs7_signed) return false;
  ASN1_OCTET_STRING** interno = CMS_get0_content(cms.get());
  if (!interno || !*interno) return false;
  const unsigned char* dati = ASN1_STRING_get0_data(*interno);
  const int lunghezza = ASN1_STRING_length(*interno);
  return util::ScriviFile(contenuto, util::Bytes(dati, dati + lunghezza));
}

}  // namespace qzkiro::cda
