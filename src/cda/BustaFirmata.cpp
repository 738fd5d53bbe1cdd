#include "cda/BustaFirmata.h"

// pem.h first: cms.h declares the PEM reader of CMS only after it.
#include <openssl/pem.h>

#include <openssl/bio.h>
#include <openssl/cms.h>
#include <openssl/err.h>
#include <openssl/x509_vfy.h>

#include <filesystem>
#include <memory>
#include <optional>

#include "util/File.h"

namespace qzkiro::cda {

namespace {

template <class T, void (*F)(T*)>
struct Libera {
  void operator()(T* p) const { F(p); }
};
using Cms = std::unique_ptr<CMS_ContentInfo, Libera<CMS_ContentInfo, CMS_ContentInfo_free>>;
using Bio = std::unique_ptr<BIO, Libera<BIO, BIO_free_all>>;
using Archivio = std::unique_ptr<X509_STORE, Libera<X509_STORE, X509_STORE_free>>;

Cms Leggi(const util::Bytes& byte) {
  Bio bio(BIO_new_mem_buf(byte.data(), static_cast<int>(byte.size())));
  if (!bio) return nullptr;
  const bool pem =
      byte.size() > 11 && std::string(byte.begin(), byte.begin() + 11) == "-----BEGIN ";
  return Cms(pem ? PEM_read_bio_CMS(bio.get(), nullptr, nullptr, nullptr)
                 : d2i_CMS_bio(bio.get(), nullptr));
}

// The CA certificates of a PEM bundle, for the chain of the signer.
Archivio CaricaCa(const std::string& ca_bundle) {
  Archivio archivio(X509_STORE_new());
  if (!archivio || X509_STORE_load_file(archivio.get(), ca_bundle.c_str()) != 1) return nullptr;
  // Documents are signed with qualified signature certificates, whose key
  // usage is not that of e-mail, which the chain check asks by default:
  // the chain to a trusted CA is what counts here.
  X509_STORE_set_purpose(archivio.get(), X509_PURPOSE_ANY);
  return archivio;
}

// The signed content when the signature verifies with the certificate the
// envelope carries: content digest, then signature value.
std::optional<util::Bytes> ContenutoIntegro(CMS_ContentInfo* cms) {
  Bio uscita(BIO_new(BIO_s_mem()));
  if (!uscita || CMS_verify(cms, nullptr, nullptr, nullptr, uscita.get(),
                            CMS_BINARY | CMS_NO_SIGNER_CERT_VERIFY) != 1) {
    return std::nullopt;
  }
  char* dati = nullptr;
  const long lunghezza = BIO_get_mem_data(uscita.get(), &dati);
  return util::Bytes(dati, dati + lunghezza);
}

bool FirmatarioAttendibile(CMS_ContentInfo* cms, X509_STORE* archivio) {
  Bio scarto(BIO_new(BIO_s_null()));
  return scarto && CMS_verify(cms, nullptr, archivio, nullptr, scarto.get(), CMS_BINARY) == 1;
}

// Writes a temporary file beside `nome` and renames it: `nome` holds the
// whole content or is not touched.
bool ScriviIntero(const std::string& nome, const util::Bytes& dati) {
  namespace fs = std::filesystem;
  const fs::path percorso(nome);
  const auto temporaneo = util::CreaFileUnico(percorso.parent_path().string(),
                                              "." + percorso.filename().string() + ".", ".tmp");
  if (!temporaneo) return false;
  std::error_code errore;
  if (util::ScriviFile(*temporaneo, dati)) {
    fs::rename(*temporaneo, percorso, errore);
    if (!errore) return true;
  }
  fs::remove(*temporaneo, errore);
  return false;
}

EsitoFirma Verifica(const std::string& busta, const std::string& contenuto,
                    const std::string& ca_bundle) {
  const auto byte = util::LeggiFile(busta);
  if (!byte || byte->empty()) return EsitoFirma::NonBusta;
  const Cms cms = Leggi(*byte);
  if (!cms || OBJ_obj2nid(CMS_get0_type(cms.get())) != NID_pkcs7_signed) {
    return EsitoFirma::NonBusta;
  }
  ASN1_OCTET_STRING** interno = CMS_get0_content(cms.get());
  if (!interno || !*interno) return EsitoFirma::Staccata;
  Archivio archivio;
  if (!ca_bundle.empty() && !(archivio = CaricaCa(ca_bundle))) return EsitoFirma::CaIlleggibile;
  const auto dati = ContenutoIntegro(cms.get());
  if (!dati) return EsitoFirma::NonValida;
  if (archivio && !FirmatarioAttendibile(cms.get(), archivio.get())) {
    return EsitoFirma::NonAttendibile;
  }
  return ScriviIntero(contenuto, *dati) ? EsitoFirma::Valida : EsitoFirma::NonScritta;
}

}  // namespace

std::string MessaggioFirma(EsitoFirma esito) {
  switch (esito) {
    case EsitoFirma::Valida:
      return "";
    case EsitoFirma::NonBusta:
      return "Il file non contiene un documento firmato leggibile";
    case EsitoFirma::Staccata:
      return "Il documento firmato non contiene il contenuto firmato";
    case EsitoFirma::NonValida:
      return "La firma del documento non è valida";
    case EsitoFirma::NonAttendibile:
      return "Il certificato del firmatario non è attendibile";
    case EsitoFirma::CaIlleggibile:
      return "Impossibile leggere i certificati delle autorità di certificazione";
    case EsitoFirma::NonScritta:
      return "Impossibile salvare il contenuto del documento firmato";
  }
  return "";
}

EsitoFirma VerificaContenutoFirmato(const std::string& busta, const std::string& contenuto,
                                    const std::string& ca_bundle) {
  const EsitoFirma esito = Verifica(busta, contenuto, ca_bundle);
  // OpenSSL's reasons stay in this thread's queue otherwise, where the next
  // TLS or crypto call of the add-on would find them.
  ERR_clear_error();
  std::error_code errore;
  if (esito != EsitoFirma::Valida && !std::filesystem::is_directory(contenuto, errore)) {
    std::filesystem::remove(contenuto, errore);
  }
  return esito;
}

bool EstraiContenutoFirmato(const std::string& busta, const std::string& contenuto) {
  return VerificaContenutoFirmato(busta, contenuto) == EsitoFirma::Valida;
}

}  // namespace qzkiro::cda
