#include "sandbox/FhirAsserzione.h"

#include <openssl/evp.h>
#include <zlib.h>

#include <cctype>

#include "sandbox/FhirDati.h"
#include "sandbox/FhirRisposte.h"
#include "util/Libxml.h"

namespace qzkiro::sandbox::fhir {

namespace {

constexpr const char* kNsSaml = "urn:oasis:names:tc:SAML:2.0:assertion";

// Strict Base64 (blanks ignored); nullopt on any other character or length.
std::optional<std::string> DaBase64(std::string_view testo) {
  std::string pulito;
  for (char c : testo) {
    if (!std::isspace(static_cast<unsigned char>(c))) pulito += c;
  }
  if (pulito.empty() || pulito.size() % 4 != 0) return std::nullopt;
  std::string out(pulito.size(), '\0');
  const int n = EVP_DecodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                                reinterpret_cast<const unsigned char*>(pulito.data()),
                                static_cast<int>(pulito.size()));
  if (n < 0) return std::nullopt;
  const std::size_t padding = pulito.ends_with("==") ? 2 : pulito.ends_with("=") ? 1 : 0;
  out.resize(static_cast<std::size_t>(n) - padding);
  return out;
}

// Raw deflate (no zlib header) undone; nullopt when it is not that.
std::optional<std::string> Inflate(const std::string& dati) {
  z_stream z{};
  if (inflateInit2(&z, -MAX_WBITS) != Z_OK) return std::nullopt;
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(dati.data()));
  z.avail_in = static_cast<uInt>(dati.size());
  std::string out;
  int esito = Z_OK;
  char blocco[16384];
  while (esito == Z_OK && out.size() < 4u * 1024 * 1024) {
    z.next_out = reinterpret_cast<Bytef*>(blocco);
    z.avail_out = sizeof blocco;
    esito = inflate(&z, Z_NO_FLUSH);
    out.append(blocco, sizeof blocco - z.avail_out);
  }
  inflateEnd(&z);
  if (esito != Z_STREAM_END) return std::nullopt;
  return out;
}

Risposta Rifiuto(int stato, const char* codice, const char* display) {
  Risposta r = Errore(stato, stato == 401 ? "login" : "forbidden", display, codice, display);
  if (stato == 401) r.intestazioni.emplace_back("WWW-Authenticate", "IHE-SAML");
  return r;
}

}  // namespace

std::optional<std::string> IdAsserzione(const std::string& autorizzazione) {
  const auto spazio = autorizzazione.find(' ');
  if (spazio == std::string::npos) return std::nullopt;
  std::string schema = autorizzazione.substr(0, spazio);
  for (char& c : schema) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (schema != "ihe-saml") return std::nullopt;
  std::optional<std::string> testo = DaBase64(std::string_view(autorizzazione).substr(spazio + 1));
  if (!testo) return std::nullopt;
  const auto inizio = testo->find_first_not_of(" \t\r\n");
  if (inizio == std::string::npos || (*testo)[inizio] != '<') testo = Inflate(*testo);
  if (!testo) return std::nullopt;
  const util::libxml::Documento doc = util::libxml::LeggiMemoria(
      *testo, nullptr, nullptr, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
  const xmlNode* radice = doc ? xmlDocGetRootElement(doc.get()) : nullptr;
  if (Nome(radice) != "Assertion" || !radice->ns ||
      util::libxml::Vista(radice->ns->href) != kNsSaml) {
    return std::nullopt;
  }
  std::string id = Attributo(radice, "ID");
  if (id.empty()) return std::nullopt;
  return id;
}

std::optional<Risposta> ControllaAsserzione(const Richiesta& richiesta,
                                            const IdentityProvider* idp) {
  const std::string valore = richiesta.Intestazione("Authorization");
  std::string schema = valore.substr(0, valore.find(' '));
  for (char& c : schema) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (schema != "ihe-saml") return Rifiuto(401, "ERR_00021", "Assenza del Security token");
  const auto id = IdAsserzione(valore);
  if (!id) {
    return Rifiuto(401, "ERR_00023",
                   "Il token SAML utilizzato non è well-formed e non può essere riconosciuto");
  }
  if (idp && !idp->HaEmesso(*id)) {
    return Rifiuto(403, "ERR_00051", "Il firmatario dell'asserzione non è un attore trustabile");
  }
  return std::nullopt;
}

}  // namespace qzkiro::sandbox::fhir
