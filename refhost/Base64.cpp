#include "refhost/Base64.h"

#include <openssl/evp.h>

#include <algorithm>

#include "qzkiro/Failure.h"
#include "util/File.h"
#include "util/Testo.h"

namespace qzkiro::refhost {

namespace {
constexpr long kBase64NonValido = 5;
}

std::string Base64::Encode(const std::string& text) {
  return Codifica(util::Utf8ToLatin1(text));
}

std::string Base64::Decode(const std::string& base64) {
  return util::Latin1ToUtf8(Decodifica(base64));
}

bool Base64::DecodeFile(const std::string& base64, const std::string& file) {
  return util::ScriviFile(file, util::ComeByte(Decodifica(base64)));
}

bool Base64::DecodeFileToFile(const std::string& sorgente, const std::string& destinazione) {
  const auto testo = util::LeggiFile(sorgente);
  return testo && DecodeFile(util::ComeTesto(*testo), destinazione);
}

std::string Base64::Codifica(const std::string& bytes) {
  std::string out(4 * ((bytes.size() + 2) / 3) + 1, '\0');
  int n = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                          reinterpret_cast<const unsigned char*>(bytes.data()),
                          static_cast<int>(bytes.size()));
  out.resize(static_cast<std::size_t>(n));
  return out;
}

std::string Base64::Decodifica(const std::string& base64) {
  std::string clean;
  std::copy_if(base64.begin(), base64.end(), std::back_inserter(clean),
               [](char c) { return c != '\r' && c != '\n' && c != ' ' && c != '\t'; });
  if (clean.size() % 4 != 0) throw Failure(kBase64NonValido, "Testo Base64 non valido");
  std::string out(clean.size() / 4 * 3, '\0');
  int n = EVP_DecodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                          reinterpret_cast<const unsigned char*>(clean.data()),
                          static_cast<int>(clean.size()));
  if (n < 0) throw Failure(kBase64NonValido, "Testo Base64 non valido");
  std::size_t padding = 0;
  if (!clean.empty() && clean.back() == '=') ++padding;
  if (clean.size() > 1 && clean[clean.size() - 2] == '=') ++padding;
  out.resize(static_cast<std::size_t>(n) - padding);
  return out;
}

}  // namespace qzkiro::refhost
