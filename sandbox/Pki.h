#pragma once

#include <filesystem>
#include <string_view>

namespace qzkiro::sandbox {

// The test PKI made by data/pki/crea_pki.sh: where each file is.
struct Pki {
  // Password of client.p12 and estraneo.p12.
  static constexpr std::string_view kPassword = "kiro";

  std::filesystem::path cartella;

  std::filesystem::path Ca() const { return cartella / "ca.pem"; }
  std::filesystem::path Server() const { return cartella / "server.pem"; }
  std::filesystem::path ChiaveServer() const { return cartella / "server.key"; }
  std::filesystem::path ClientP12() const { return cartella / "client.p12"; }
  std::filesystem::path ClientPem() const { return cartella / "client.pem"; }
  std::filesystem::path ChiaveClient() const { return cartella / "client.key"; }
  // A client certificate the CA never signed.
  std::filesystem::path EstraneoP12() const { return cartella / "estraneo.p12"; }
  std::filesystem::path Idp() const { return cartella / "idp.pem"; }
  std::filesystem::path ChiaveIdp() const { return cartella / "idp.key"; }
  std::filesystem::path SarCf() const { return cartella / "sarcf.pem"; }
  std::filesystem::path ChiaveSarCf() const { return cartella / "sarcf.key"; }
  // Encryption certificate of the prescription services, in DER form.
  std::filesystem::path Fse() const { return cartella / "fse.cer"; }
  std::filesystem::path ChiaveFse() const { return cartella / "fse.key"; }

  // True when every file is there.
  bool Completa() const;

  // The PKI in `cartella`, running the script when a file is missing (the script
  // makes only those). Throws std::runtime_error when the script fails.
  static Pki Crea(const std::filesystem::path& cartella);
  // The PKI the build makes in its own tree (`<build>/pki`).
  static Pki DellaCompilazione();
  // The script, in the source tree.
  static std::filesystem::path Script();
};

}  // namespace qzkiro::sandbox
