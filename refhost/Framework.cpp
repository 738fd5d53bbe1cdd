#include "refhost/Framework.h"

#include <openssl/evp.h>
#include <openssl/rand.h>
#include <openssl/sha.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <memory>

#include "qzkiro/Failure.h"
#include "refhost/ApriDocumento.h"
#include "refhost/Base64.h"
#include "refhost/CodiceFiscale.h"
#include "refhost/Flusso.h"
#include "refhost/FormatiHost.h"
#include "refhost/Input.h"
#include "refhost/Mime.h"
#include "refhost/ModelloRichiesta.h"
#include "refhost/Pdf.h"
#include "refhost/Ricetta.h"

namespace qzkiro::refhost {

namespace {

constexpr int kNonce = 12;
constexpr int kTag = 16;
constexpr long kErroreCifratura = 5;

using Ctx = std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)>;

std::string Chiave(const std::string& key) {
  std::string digest(SHA256_DIGEST_LENGTH, '\0');
  SHA256(reinterpret_cast<const unsigned char*>(key.data()), key.size(),
         reinterpret_cast<unsigned char*>(digest.data()));
  return digest;
}

const unsigned char* U(const std::string& s) {
  return reinterpret_cast<const unsigned char*>(s.data());
}
unsigned char* U(std::string& s) {
  return reinterpret_cast<unsigned char*>(s.data());
}

[[noreturn]] void Errore(const char* cosa) {
  throw Failure(kErroreCifratura, cosa);
}

}  // namespace

std::string Framework::GetSmartGUID() {
  unsigned char b[16] = {};
  RAND_bytes(b, sizeof b);
  b[6] = static_cast<unsigned char>((b[6] & 0x0F) | 0x40);  // version 4
  b[8] = static_cast<unsigned char>((b[8] & 0x3F) | 0x80);  // RFC 4122 variant
  char testo[37];
  std::snprintf(testo, sizeof testo,
                "%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X", b[0], b[1],
                b[2], b[3], b[4], b[5], b[6], b[7], b[8], b[9], b[10], b[11], b[12], b[13], b[14],
                b[15]);
  return testo;
}

std::string Framework::Encrypt(const std::string& text, const std::string& key) {
  std::string nonce(kNonce, '\0'), out(text.size(), '\0'), tag(kTag, '\0');
  if (RAND_bytes(U(nonce), kNonce) != 1) Errore("Generazione casuale non riuscita");
  Ctx ctx(EVP_CIPHER_CTX_new(), EVP_CIPHER_CTX_free);
  const std::string k = Chiave(key);
  int len = 0;
  if (!ctx || EVP_EncryptInit_ex(ctx.get(), EVP_aes_256_gcm(), nullptr, U(k), U(nonce)) != 1 ||
      EVP_EncryptUpdate(ctx.get(), U(out), &len, U(text), static_cast<int>(text.size())) != 1 ||
      EVP_EncryptFinal_ex(ctx.get(), U(out) + len, &len) != 1 ||
      EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_GET_TAG, kTag, U(tag)) != 1) {
    Errore("Cifratura non riuscita");
  }
  return Base64::Codifica(nonce + out + tag);
}

std::string Framework::Decrypt(const std::string& text, const std::string& key) {
  std::string raw = Base64::Decodifica(text);
  if (raw.size() < kNonce + kTag) Errore("Testo cifrato non valido");
  std::string nonce = raw.substr(0, kNonce), tag = raw.substr(raw.size() - kTag);
  std::string data = raw.substr(kNonce, raw.size() - kNonce - kTag);
  std::string out(data.size(), '\0');
  Ctx ctx(EVP_CIPHER_CTX_new(), EVP_CIPHER_CTX_free);
  const std::string k = Chiave(key);
  int len = 0;
  if (!ctx || EVP_DecryptInit_ex(ctx.get(), EVP_aes_256_gcm(), nullptr, U(k), U(nonce)) != 1 ||
      EVP_DecryptUpdate(ctx.get(), U(out), &len, U(data), static_cast<int>(data.size())) != 1 ||
      EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_SET_TAG, kTag, U(tag)) != 1 ||
      EVP_DecryptFinal_ex(ctx.get(), U(out) + len, &len) != 1) {
    Errore("Decifratura non riuscita: chiave errata o testo alterato");
  }
  return out;
}

std::string Framework::SalvaFile(const std::string& titolo, const std::string& filtro,
                                 const std::string& nome_predefinito) {
  dialoghi_salvataggio_.push_back({titolo, filtro, nome_predefinito});
  if (cartella_salvataggio_.empty()) return {};
  return (cartella_salvataggio_ / nome_predefinito).string();
}

void Framework::OpenChild(const std::string& form, bool modal, const host::Variant& omitted,
                          const std::string& caption) {
  finestre_.push_back({form, modal, omitted.IsEmpty(), caption, parametro_, parametro2_});
}

std::shared_ptr<host::IInput> Framework::NewInput() {
  inputs_.push_back(std::make_shared<Input>());
  return inputs_.back();
}

std::shared_ptr<host::ITemplate> Framework::newTemplate(const std::string& file,
                                                        const host::Variant&) {
  return std::make_shared<ModelloRichiesta>(file);
}

std::shared_ptr<host::IRicetta> Framework::NewRicetta() {
  return std::make_shared<Ricetta>();
}

std::string Framework::ValoreData(const std::string& data) {
  return DataVisualizzata(data);
}

double Framework::Valore(const std::string& testo) {
  return NumeroNelTesto(testo);
}

std::string Framework::NoEntity(const std::string& testo) {
  return TestoHtml(testo);
}

std::string Framework::GetMime(const std::string& testo) {
  Mime mime;
  if (!mime.InitStr(testo) || mime.Parti().empty()) return {};
  std::string corpo(mime.Parti().front()->Corpo());
  std::erase_if(corpo, [](char c) { return c == '\r' || c == '\n'; });
  return corpo;
}

std::shared_ptr<host::IMime> Framework::NewMime() {
  return std::make_shared<Mime>();
}

std::shared_ptr<host::IBase64> Framework::NewBase64() {
  return std::make_shared<Base64>();
}

bool Framework::KillFile(const std::string& file) {
  std::error_code errore;
  std::filesystem::remove(file, errore);
  // Any other answer than "not found" (no permission to look) is a failure.
  return std::filesystem::symlink_status(file, errore).type() ==
         std::filesystem::file_type::not_found;
}

bool Framework::FOP(const std::string& argomenti) {
  return EseguiFop(argomenti);
}

bool Framework::HtmlToPdf(const std::string& html, const std::string& file) {
  return HtmlInPdf(html, file);
}

}  // namespace qzkiro::refhost

namespace qzkiro::refhost {

bool Framework::VerificaCodiceFiscale(const std::string& codice) {
  return CodiceFiscaleValido(codice);
}

int Framework::CalcolaEta(const std::string& data) {
  std::string oggi = oggi_;
  if (oggi.empty()) {
    const std::time_t t = std::time(nullptr);
    std::tm locale{};
    localtime_r(&t, &locale);
    char testo[9];
    std::strftime(testo, sizeof testo, "%Y%m%d", &locale);
    oggi = testo;
  }
  auto data_valida = [](const std::string& d) {
    return d.size() >= 8 && std::all_of(d.begin(), d.begin() + 8,
                                        [](unsigned char ch) { return std::isdigit(ch) != 0; });
  };
  if (!data_valida(data) || !data_valida(oggi)) return 0;
  const int anni = std::stoi(oggi.substr(0, 4)) - std::stoi(data.substr(0, 4));
  return oggi.substr(4, 4) < data.substr(4, 4) ? anni - 1 : anni;
}

bool Framework::StartExDoc(const std::string& file) {
  documenti_.push_back(file);
  return ApriDocumento(file);
}

}  // namespace qzkiro::refhost

namespace qzkiro::refhost {

std::shared_ptr<host::IFlusso> Framework::NewFlusso() {
  return std::make_shared<Flusso>();
}

std::shared_ptr<host::IFlussi> Framework::NewFlussi(const std::string& mese) {
  if (!crea_flussi_) return host::IFramework::NewFlussi(mese);
  return crea_flussi_(mese);
}

std::shared_ptr<host::IItemFlusso> Framework::NewItemFlusso() {
  return std::make_shared<ItemFlusso>();
}

std::shared_ptr<host::IFlusso> Framework::NewFlussoPA() {
  return std::make_shared<Flusso>();
}

std::shared_ptr<host::IItemFlussoPA> Framework::NewItemFlussoPA() {
  return std::make_shared<ItemFlussoPA>();
}

}  // namespace qzkiro::refhost
