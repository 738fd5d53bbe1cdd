#include "sandbox/LottiVaccino.h"

#include <openssl/evp.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>
#include <optional>

namespace qzkiro::sandbox {

namespace {

// SHA-256 of "user:password" of the add-on's account.
constexpr std::string_view kImprontaAddOn =
    "30270cea898b54139779890e73a655fd7a7d7af3a1509c54507d3713aa83aea8";
constexpr std::string_view kOrganizzazione = "urn:oid:2.16.840.1.113883.2.9.4.1.1|";
constexpr std::string_view kNs = "http://schemas.datacontract.org/2004/07/InfoLotti";

std::optional<std::string> DaBase64(std::string_view testo) {
  std::string out(testo.size(), '\0');
  const int n = EVP_DecodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                                reinterpret_cast<const unsigned char*>(testo.data()),
                                static_cast<int>(testo.size()));
  if (n < 0 || testo.size() % 4 != 0) return std::nullopt;
  const std::size_t padding = testo.ends_with("==") ? 2 : testo.ends_with("=") ? 1 : 0;
  out.resize(static_cast<std::size_t>(n) - padding);
  return out;
}

// The "Authorization" header carries the account: "Basic " and the Base64 of
// "user:password".
bool Autorizzato(const Richiesta& richiesta, std::string_view impronta) {
  const std::string valore = richiesta.Intestazione("Authorization");
  constexpr std::string_view kBasic = "Basic ";
  if (valore.size() <= kBasic.size() || valore.compare(0, kBasic.size(), kBasic) != 0) {
    return false;
  }
  const auto account = DaBase64(std::string_view(valore).substr(kBasic.size()));
  return account && ServizioLottiVaccino::Impronta(*account) == impronta;
}

int Cifra(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// "%XX" decoded and "+" as a blank; nullopt for a broken escape.
std::optional<std::string> Decodifica(std::string_view testo) {
  std::string out;
  for (std::size_t i = 0; i < testo.size(); ++i) {
    if (testo[i] == '+') {
      out += ' ';
    } else if (testo[i] != '%') {
      out += testo[i];
    } else if (i + 2 < testo.size() && Cifra(testo[i + 1]) >= 0 && Cifra(testo[i + 2]) >= 0) {
      out += static_cast<char>(Cifra(testo[i + 1]) * 16 + Cifra(testo[i + 2]));
      i += 2;
    } else {
      return std::nullopt;
    }
  }
  return out;
}

// The query's parameters; nullopt when one is repeated or badly written.
std::optional<std::map<std::string, std::string>> Parametri(std::string_view query) {
  std::map<std::string, std::string> parametri;
  while (!query.empty()) {
    const std::string_view coppia = query.substr(0, query.find('&'));
    query.remove_prefix(std::min(query.size(), coppia.size() + 1));
    const auto uguale = coppia.find('=');
    if (uguale == std::string_view::npos) return std::nullopt;
    auto nome = Decodifica(coppia.substr(0, uguale));
    auto valore = Decodifica(coppia.substr(uguale + 1));
    if (!nome || !valore || !parametri.emplace(*nome, *valore).second) return std::nullopt;
  }
  return parametri;
}

// What is wrong with the search, "" when nothing.
std::string Controlla(const std::map<std::string, std::string>& p) {
  for (const auto& [nome, valore] : p) {
    if (nome != "princVacc" && nome != "aic" && nome != "organization") {
      return "Parametro non previsto: " + nome;
    }
  }
  if (p.count("princVacc") + p.count("aic") != 1) return "Indicare princVacc oppure aic";
  const auto organizzazione = p.find("organization");
  if (organizzazione == p.end() || !organizzazione->second.starts_with(kOrganizzazione)) {
    return "Organizzazione mancante o di un sistema di codifica non previsto";
  }
  const std::string unita = organizzazione->second.substr(kOrganizzazione.size());
  if (unita.size() != 6 || !std::all_of(unita.begin(), unita.end(),
                                        [](unsigned char c) { return std::isdigit(c) != 0; })) {
    return "Codice dell'azienda sanitaria non valido: " + unita;
  }
  return {};
}

std::string Elemento(std::string_view nome, std::string_view valore) {
  return "<" + std::string(nome) + ">" + EscapeXml(valore) + "</" + std::string(nome) + ">";
}

// The lots whose `campo` ("princVacc" or "aic") is `valore`, as the service
// writes them (the members of each lot in alphabetical order).
std::string Lotti(const std::string& campo, const std::string& valore) {
  std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?><ArrayOfLotto xmlns=\"" +
                    std::string(kNs) + "\" xmlns:i=\"http://www.w3.org/2001/XMLSchema-instance\">";
  for (const LottoVaccino& l : lotti::kLotti) {
    if ((campo == "aic" ? l.aic : l.princ_vacc) != valore) continue;
    xml += "<lotto>" + Elemento("aic", l.aic) + Elemento("numero", l.numero) +
           Elemento("princVacc", l.princ_vacc) + Elemento("scadenza", l.scadenza) + "</lotto>";
  }
  return xml + "</ArrayOfLotto>";
}

Risposta Rifiuto(int stato, const std::string& motivo) {
  return {stato, motivo, "text/plain; charset=utf-8"};
}

Risposta Cerca(const Richiesta& richiesta, std::string_view impronta) {
  if (!Autorizzato(richiesta, impronta)) {
    Risposta r = Rifiuto(401, "Credenziali non valide");
    r.intestazioni.emplace_back("WWW-Authenticate", "Basic realm=\"InfoLotti\"");
    return r;
  }
  const auto parametri = Parametri(richiesta.query);
  if (!parametri) return Rifiuto(400, "Query non leggibile: " + richiesta.query);
  if (const std::string motivo = Controlla(*parametri); !motivo.empty()) {
    return Rifiuto(400, motivo);
  }
  const std::string campo = parametri->count("princVacc") ? "princVacc" : "aic";
  return {200, Lotti(campo, parametri->at(campo)), "application/xml; charset=utf-8"};
}

}  // namespace

ServizioLottiVaccino::ServizioLottiVaccino(Sandbox& sandbox, std::string impronta_account) {
  if (impronta_account.empty()) impronta_account = kImprontaAddOn;
  sandbox.Registra(
      "GET", kPercorso,
      [impronta = std::move(impronta_account)](const Richiesta& richiesta) {
        return Cerca(richiesta, impronta);
      },
      "lotti");
}

std::string ServizioLottiVaccino::Impronta(std::string_view testo) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int lunghezza = 0;
  if (EVP_Digest(testo.data(), testo.size(), digest, &lunghezza, EVP_sha256(), nullptr) != 1) {
    return {};
  }
  std::string esadecimale;
  for (unsigned int i = 0; i < lunghezza; ++i) {
    char cifre[3];
    std::snprintf(cifre, sizeof cifre, "%02x", digest[i]);
    esadecimale += cifre;
  }
  return esadecimale;
}

std::vector<std::pair<std::string, std::string>> ServizioLottiVaccino::FileSimulatore() {
  return {{"CercaLotti/CercaLotti.xml", Lotti("princVacc", "150")}};
}

}  // namespace qzkiro::sandbox
