#pragma once

// What the sandbox's service tests share: a call over mutual TLS, the
// provider's password cipher, a login that returns the assertion, and XPath
// reads of an answer.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "sandbox/Pki.h"
#include "sandbox/Sandbox.h"
#include "sandbox/prova/ClienteCurl.h"

namespace qzkiro::sandbox::prova {

// A call to `sandbox` over mutual TLS, with the client certificate its CA signed.
Chiamata Tls(const Sandbox& sandbox, const Pki& pki, std::string_view percorso,
             std::string metodo = "GET", std::string corpo = {},
             std::vector<std::string> intestazioni = {});

// The bytes of `file` ("" when it cannot be read).
std::string Leggi(const std::filesystem::path& file);

// Base64 in one line, written with OpenSSL rather than with the sandbox's own code.
std::string Base64(std::string_view dati);

// Encrypts as the add-on does: RSA PKCS#1 v1.5 with the key of a DER or PEM
// certificate. CifraRsa gives the bytes ("" when it cannot), Cifra their Base64.
std::string CifraRsa(const std::filesystem::path& certificato, const std::string& chiaro);
std::string Cifra(const std::filesystem::path& certificato, const std::string& chiaro);

// Logs "demo" (password "Kiro.2026", added by the caller) in to the
// sandbox's identity provider at "/iap" with `corpo` as the SOAP body, and
// gives the saml:Assertion of the answer ("" when there is none).
std::string Accedi(Sandbox& sandbox, const Pki& pki, const std::string& corpo = "<env:Body/>");

// Every match of `xpath` (attribute values or element texts); the prefix "h"
// names HL7 v2 XML (urn:hl7-org:v2xml), "v3" CDA (urn:hl7-org:v3).
std::vector<std::string> Xpath(const std::string& xml, const std::string& xpath);
// The first match, "<assente>" when there is none.
std::string Primo(const std::string& xml, const std::string& xpath);

}  // namespace qzkiro::sandbox::prova
