#include "util/clsBase64.h"

#include <openssl/evp.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <iterator>
#include <system_error>

#include "util/Testo.h"
#include "util/clsZip.h"

namespace qzkiro::util {

namespace fs = std::filesystem;

namespace {

// OpenSSL's block functions take an int length: large inputs go through in
// blocks of whole 3-byte (4-character) groups, so padding appears only at the end.
constexpr std::size_t kGruppiPerBlocco = 16384;

constexpr std::string_view kBoundary = "----------------314159265358979323846";

bool Spazio(char c) {
  return c == '\r' || c == '\n' || c == ' ' || c == '\t';
}

bool InAlfabeto(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '+' || c == '/';
}

int CifraHex(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

void AppendBase64(std::string& out, const unsigned char* dati, std::size_t n) {
  out.reserve(out.size() + (n + 2) / 3 * 4);
  std::array<unsigned char, kGruppiPerBlocco * 4 + 1> buffer;  // + the NUL OpenSSL appends
  for (std::size_t pos = 0; pos < n;) {
    const std::size_t blocco = std::min(n - pos, kGruppiPerBlocco * 3);
    const int scritti = EVP_EncodeBlock(buffer.data(), dati + pos, static_cast<int>(blocco));
    out.append(reinterpret_cast<const char*>(buffer.data()), static_cast<std::size_t>(scritti));
    pos += blocco;
  }
}

std::string Base64(const unsigned char* dati, std::size_t n) {
  std::string out;
  AppendBase64(out, dati, n);
  return out;
}

std::string_view ComeVista(const Bytes& dati) {
  return {reinterpret_cast<const char*>(dati.data()), dati.size()};
}

// Compares two paths as the host's file system would: made absolute,
// normalised, letter case ignored.
bool StessoPercorso(const std::string& a, const std::string& b) {
  std::error_code ec;
  const std::string pa = fs::absolute(a, ec).lexically_normal().string();
  const std::string pb = fs::absolute(b, ec).lexically_normal().string();
  return std::equal(pa.begin(), pa.end(), pb.begin(), pb.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

}  // namespace

std::string clsBase64::EncodeBytes(const Bytes& dati) {
  return Base64(dati.data(), dati.size());
}

bool clsBase64::AppendFile(std::string& out, const std::string& NomeFile) {
  const auto dati = LeggiFile(NomeFile);
  if (dati) AppendBase64(out, dati->data(), dati->size());
  return dati.has_value();
}

std::optional<Bytes> clsBase64::DecodeBytes(std::string_view b64) {
  std::string pulito;
  pulito.reserve(b64.size());
  std::copy_if(b64.begin(), b64.end(), std::back_inserter(pulito),
               [](char c) { return !Spazio(c); });
  if (pulito.size() % 4 != 0) return std::nullopt;
  std::size_t padding = 0;
  if (!pulito.empty() && pulito.back() == '=') padding = pulito[pulito.size() - 2] == '=' ? 2 : 1;
  // EVP_DecodeBlock would take a '=' inside the text as a zero digit.
  if (!std::all_of(pulito.begin(), pulito.end() - static_cast<std::ptrdiff_t>(padding),
                   InAlfabeto)) {
    return std::nullopt;
  }
  Bytes out(pulito.size() / 4 * 3);
  for (std::size_t pos = 0; pos < pulito.size();) {
    const std::size_t blocco = std::min(pulito.size() - pos, kGruppiPerBlocco * 4);
    if (EVP_DecodeBlock(out.data() + pos / 4 * 3,
                        reinterpret_cast<const unsigned char*>(pulito.data()) + pos,
                        static_cast<int>(blocco)) < 0) {
      return std::nullopt;
    }
    pos += blocco;
  }
  out.resize(out.size() - padding);  // EVP_DecodeBlock counts the padding as zero bytes
  return out;
}

std::string clsBase64::ToHex(const Bytes& dati) {
  static constexpr char kCifre[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(dati.size() * 2);
  for (const auto b : dati) {
    out.push_back(kCifre[b >> 4]);
    out.push_back(kCifre[b & 0x0F]);
  }
  return out;
}

std::optional<Bytes> clsBase64::FromHex(std::string_view hex) {
  Bytes out;
  out.reserve(hex.size() / 2);
  int alta = -1;
  for (const char c : hex) {
    if (Spazio(c)) continue;
    const int cifra = CifraHex(c);
    if (cifra < 0) return std::nullopt;
    if (alta < 0) {
      alta = cifra;
    } else {
      out.push_back(static_cast<std::uint8_t>(alta << 4 | cifra));
      alta = -1;
    }
  }
  if (alta >= 0) return std::nullopt;
  return out;
}

std::string clsBase64::WrapLines64(std::string_view testo) {
  std::string out;
  out.reserve(testo.size() + testo.size() / 64 * 2);
  while (testo.size() >= 65) {
    out.append(testo.substr(0, 64)).append("\r\n");
    testo.remove_prefix(64);
  }
  out.append(testo);
  return out;
}

std::string clsBase64::Encode(const std::string& strIn) const {
  const std::string latin1 = Utf8ToLatin1(strIn);
  return Base64(reinterpret_cast<const unsigned char*>(latin1.data()), latin1.size());
}

std::string clsBase64::EncodeL64(const std::string& strIn) const {
  return WrapLines64(Encode(strIn));
}

std::string clsBase64::Decode(const std::string& strIn) const {
  const auto dati = DecodeBytes(strIn);
  return dati ? Latin1ToUtf8(ComeVista(*dati)) : "";
}

std::string clsBase64::EncodeFile(const std::string& NomeFile) const {
  const auto dati = LeggiFile(NomeFile);
  return dati ? EncodeBytes(*dati) : "";
}

std::string clsBase64::EncodeFileL64(const std::string& NomeFile) const {
  return WrapLines64(EncodeFile(NomeFile));
}

bool clsBase64::DecodeFile(const std::string& B64, const std::string& NomeFileDest) const {
  const auto dati = DecodeBytes(B64);
  return dati && ScriviFile(NomeFileDest, *dati);
}

bool clsBase64::DecodeFileToFile(const std::string& NomeFile,
                                 const std::string& NomeFileDest) const {
  const auto testo = LeggiFile(NomeFile);
  if (!testo) return false;
  const auto dati = DecodeBytes(ComeVista(*testo));
  return dati && ScriviFile(NomeFileDest, *dati);
}

std::string clsBase64::Base64ToHex(const std::string& B64) const {
  const auto dati = DecodeBytes(B64);
  return dati ? ToHex(*dati) : "";
}

std::string clsBase64::EncodeFileHex(const std::string& NomeFile) const {
  const auto dati = LeggiFile(NomeFile);
  return dati ? ToHex(*dati) : "";
}

bool clsBase64::DecodeFileHex(const std::string& strHex, const std::string& NomeFileDest) const {
  const auto dati = FromHex(strHex);
  return dati && ScriviFile(NomeFileDest, *dati);
}

std::optional<Bytes> clsBase64::ZipDelFile(const std::string& NomeFile,
                                           const std::string& Password) {
  clsZip zip;
  zip.SetPassword(Password);
  Bytes archivio;
  if (!zip.ZipFileString(NomeFile, archivio)) {
    last_error_ = zip.LastError();
    return std::nullopt;
  }
  return archivio;
}

std::string clsBase64::TestoZip(const std::optional<Bytes>& archivio, std::string_view formato,
                                const std::string& Password) {
  if (!archivio) {
    last_error_ = std::string(formato) + " non valido";
    return "";
  }
  clsZip zip;
  zip.SetPassword(Password);
  std::string testo = zip.UnzipString(*archivio);
  // A fresh clsZip has an empty LastError: text there means the unzip failed.
  if (!zip.LastError().empty()) last_error_ = zip.LastError();
  return testo;
}

bool clsBase64::EstraiZip(const std::optional<Bytes>& archivio, std::string_view formato,
                          const std::string& DestPath, std::vector<std::string>& ListaFiles,
                          const std::string& Password) {
  ListaFiles.clear();
  if (!archivio) {
    last_error_ = std::string(formato) + " non valido";
    return false;
  }
  clsZip zip;
  zip.SetPassword(Password);
  if (!zip.UnzipStringFile(*archivio, DestPath)) {
    last_error_ = zip.LastError();
    return false;
  }
  if (zip.ListaFiles().empty()) {
    last_error_ = "Nessun file contenuto nello zip";
    return false;
  }
  ListaFiles = zip.ListaFiles();
  return true;
}

std::string clsBase64::EncodeZipString(const std::string& strIn, const std::string& Password) {
  clsZip zip;
  zip.SetPassword(Password);
  Bytes archivio;
  if (!zip.ZipString(strIn, archivio)) {
    last_error_ = zip.LastError();
    return "";
  }
  return EncodeBytes(archivio);
}

std::string clsBase64::EncodeZipFile(const std::string& NomeFile, const std::string& Password) {
  const auto archivio = ZipDelFile(NomeFile, Password);
  return archivio ? EncodeBytes(*archivio) : "";
}

std::string clsBase64::EncodeZipFileHex(const std::string& NomeFile, const std::string& Password) {
  const auto archivio = ZipDelFile(NomeFile, Password);
  return archivio ? ToHex(*archivio) : "";
}

std::string clsBase64::DecodeZipString(const std::string& B64, const std::string& Password) {
  return TestoZip(DecodeBytes(B64), "Testo Base64", Password);
}

std::string clsBase64::DecodeZipStringHex(const std::string& strHex, const std::string& Password) {
  return TestoZip(FromHex(strHex), "Testo esadecimale", Password);
}

bool clsBase64::DecodeZipFile(const std::string& B64, const std::string& DestPath,
                              std::vector<std::string>& ListaFiles, const std::string& Password) {
  return EstraiZip(DecodeBytes(B64), "Testo Base64", DestPath, ListaFiles, Password);
}

bool clsBase64::DecodeZipFileHex(const std::string& strHex, const std::string& DestPath,
                                 std::vector<std::string>& ListaFiles,
                                 const std::string& Password) {
  return EstraiZip(FromHex(strHex), "Testo esadecimale", DestPath, ListaFiles, Password);
}

bool clsBase64::DecodeSingleZipFile(const std::string& B64, const std::string& NomeFileDest,
                                    const std::string& TempDir, const std::string& Password) {
  std::vector<std::string> lista;
  if (!DecodeZipFile(B64, TempDir, lista, Password)) return false;
  const std::string& primo = lista.front();
  if (StessoPercorso(primo, NomeFileDest)) return true;
  std::error_code ec;
  fs::copy_file(primo, NomeFileDest, fs::copy_options::overwrite_existing, ec);
  if (ec) {
    last_error_ = "Impossibile copiare il file " + primo + " in " + NomeFileDest;
    return false;
  }
  return true;
}

std::string clsBase64::EncodeMimeXML(const std::string& XML) const {
  std::string out;
  out.append("MIME-Version: 1.0\r\n")
      .append("Content-Type: multipart/mixed; boundary=")
      .append(kBoundary)
      .append("\r\n\r\n--")
      .append(kBoundary)
      .append(
          "\r\nContent-Disposition: form-data; name=\"document.xml\"; filename=\"document.xml\"")
      .append("\r\nContent-Type: application/xml; charset=ISO-8859-1")
      .append("\r\nContent-Transfer-Encoding: base64\r\n\r\n")
      .append(EncodeL64(XML))
      .append("\r\n--")
      .append(kBoundary)
      .append("--\r\n");
  return out;
}

}  // namespace qzkiro::util
