#include "sandbox/prova/Strumenti.h"

#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rsa.h>
#include <openssl/x509.h>

#include <fstream>
#include <iterator>

#include "sandbox/prova/ClienteCurl.h"
#include "util/Libxml.h"

namespace qzkiro::sandbox::prova {

Chiamata Tls(const Sandbox& sandbox, const Pki& pki, std::string_view percorso,
             std::string metodo, std::string corpo, std::vector<std::string> intestazioni) {
  return {sandbox.Url(percorso), std::move(metodo), std::move(corpo), std::move(intestazioni),
          pki.ClientP12(), "kiro", pki.Ca()};
}

std::string Leggi(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Base64(std::string_view dati) {
  std::string out(4 * ((dati.size() + 2) / 3) + 1, '\0');
  out.resize(static_cast<std::size_t>(EVP_EncodeBlock(
      reinterpret_cast<unsigned char*>(out.data()),
      reinterpret_cast<const unsigned char*>(dati.data()), static_cast<int>(dati.size()))));
  return out;
}

std::string CifraRsa(const std::filesystem::path& certificato, const std::string& chiaro) {
  std::ifstream in(certificato, std::ios::binary);
  const std::string byte(std::istreambuf_iterator<char>(in), {});
  const auto* p = reinterpret_cast<const unsigned char*>(byte.data());
  X509* cert = d2i_X509(nullptr, &p, static_cast<long>(byte.size()));
  BIO* bio = BIO_new_mem_buf(byte.data(), static_cast<int>(byte.size()));
  if (!cert) cert = PEM_read_bio_X509(bio, nullptr, nullptr, nullptr);
  BIO_free(bio);
  EVP_PKEY_CTX* ctx = cert ? EVP_PKEY_CTX_new(X509_get0_pubkey(cert), nullptr) : nullptr;
  std::string cifrato(512, '\0');
  size_t n = cifrato.size();
  const bool ok =
      ctx && EVP_PKEY_encrypt_init(ctx) > 0 &&
      EVP_PKEY_CTX_set_rsa_padding(ctx, RSA_PKCS1_PADDING) > 0 &&
      EVP_PKEY_encrypt(ctx, reinterpret_cast<unsigned char*>(cifrato.data()), &n,
                       reinterpret_cast<const unsigned char*>(chiaro.data()), chiaro.size()) > 0;
  EVP_PKEY_CTX_free(ctx);
  X509_free(cert);
  cifrato.resize(ok ? n : 0);
  return cifrato;
}

std::string Cifra(const std::filesystem::path& certificato, const std::string& chiaro) {
  return Base64(CifraRsa(certificato, chiaro));
}

std::string Accedi(Sandbox& sandbox, const Pki& pki, const std::string& corpo) {
  const std::string login =
      "<env:Envelope xmlns:env=\"http://www.w3.org/2003/05/soap-envelope\" "
      "xmlns:wsse=\"http://docs.oasis-open.org/wss/2004/01/"
      "oasis-200401-wss-wssecurity-secext-1.0.xsd\" xmlns:wsu=\"http://docs.oasis-open.org/"
      "wss/2004/01/oasis-200401-wss-wssecurity-utility-1.0.xsd\"><env:Header><wsse:Security>"
      "<wsse:UsernameToken><wsse:Username>demo</wsse:Username><wsse:Nonce>bjE=</wsse:Nonce>"
      "<wsu:Created>2026-03-05T10:20:30Z</wsu:Created><wsse:Password>" +
      Cifra(pki.Idp(), "bjE=2026-03-05T10:20:30ZKiro.2026") +
      "</wsse:Password></wsse:UsernameToken></wsse:Security></env:Header>" + corpo +
      "</env:Envelope>";
  const std::string risposta =
      Esegui(Tls(sandbox, pki, "/iap", "POST", login)).corpo;
  const auto inizio = risposta.find("<saml:Assertion");
  const auto fine = risposta.find("</saml:Assertion>");
  if (inizio == std::string::npos || fine == std::string::npos) return {};
  return risposta.substr(inizio, fine + 17 - inizio);
}

std::vector<std::string> Xpath(const std::string& xml, const std::string& xpath) {
  const util::libxml::Documento doc = util::libxml::LeggiMemoria(xml, nullptr, nullptr, 0);
  std::vector<std::string> valori;
  if (!doc) return valori;
  xmlXPathContextPtr ctx = xmlXPathNewContext(doc.get());
  xmlXPathRegisterNs(ctx, BAD_CAST "h", BAD_CAST "urn:hl7-org:v2xml");
  xmlXPathRegisterNs(ctx, BAD_CAST "v3", BAD_CAST "urn:hl7-org:v3");
  xmlXPathObjectPtr r = xmlXPathEvalExpression(BAD_CAST xpath.c_str(), ctx);
  for (int i = 0; r && r->nodesetval && i < r->nodesetval->nodeNr; ++i) {
    valori.push_back(util::libxml::Possiedi(xmlNodeGetContent(r->nodesetval->nodeTab[i])));
  }
  xmlXPathFreeObject(r);
  xmlXPathFreeContext(ctx);
  return valori;
}

std::string Primo(const std::string& xml, const std::string& xpath) {
  const std::vector<std::string> t = Xpath(xml, xpath);
  return t.empty() ? "<assente>" : t.front();
}

}  // namespace qzkiro::sandbox::prova
