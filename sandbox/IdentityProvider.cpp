#include "sandbox/IdentityProvider.h"

#include <openssl/evp.h>

#include "sandbox/Cifratura.h"
#include "sandbox/Conformita.h"
#include "sandbox/Guasto.h"
#include "util/Libxml.h"

namespace qzkiro::sandbox {

namespace {

namespace libxml = util::libxml;

// The element's local name; a prefix the message never declared
// ("rve-h:NewPassword") stays in libxml2's name and is dropped here.
std::string_view NomeLocale(const xmlNode* nodo) {
  std::string_view nome = reinterpret_cast<const char*>(nodo->name);
  const auto due_punti = nome.rfind(':');
  return due_punti == std::string_view::npos ? nome : nome.substr(due_punti + 1);
}

// The first element named `nome` (local name) in document order.
const xmlNode* Cerca(const xmlNode* nodo, std::string_view nome) {
  for (; nodo; nodo = nodo->next) {
    if (nodo->type == XML_ELEMENT_NODE && NomeLocale(nodo) == nome) return nodo;
    if (const xmlNode* trovato = Cerca(nodo->children, nome)) return trovato;
  }
  return nullptr;
}

std::string Testo(const xmlNode* nodo) {
  if (!nodo) return {};
  return libxml::Possiedi(xmlNodeGetContent(nodo));
}

std::string Attributo(const xmlNode* nodo, const char* nome) {
  if (!nodo) return {};
  return libxml::Possiedi(xmlGetProp(nodo, reinterpret_cast<const xmlChar*>(nome)));
}

std::string DaBase64(const std::string& testo) {
  std::string out(testo.size(), '\0');
  const int n = EVP_DecodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                                reinterpret_cast<const unsigned char*>(testo.data()),
                                static_cast<int>(testo.size()));
  if (n < 0) return {};
  std::size_t padding = testo.ends_with("==") ? 2 : testo.ends_with("=") ? 1 : 0;
  out.resize(static_cast<std::size_t>(n) - padding);
  return out;
}

// The password as the add-on sends it: RSA of nonce + created + password.
std::string Decifra(const std::filesystem::path& chiave, const std::string& base64,
                    const RichiestaAutenticazione& r) {
  const auto chiaro = DecifraRsa(chiave, DaBase64(base64));
  const std::string prefisso = r.nonce + r.creato;
  if (!chiaro || chiaro->compare(0, prefisso.size(), prefisso) != 0) return "\x01non valida";
  return chiaro->substr(prefisso.size());
}

std::optional<RichiestaAutenticazione> Leggi(const std::string& corpo,
                                             const std::filesystem::path& chiave) {
  const libxml::Documento doc = libxml::LeggiMemoria(
      corpo, nullptr, nullptr, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
  if (!doc) return std::nullopt;
  const xmlNode* radice = xmlDocGetRootElement(doc.get());
  RichiestaAutenticazione r;
  r.azione = Testo(Cerca(radice, "Action"));
  r.utente = Testo(Cerca(radice, "Username"));
  r.nonce = Testo(Cerca(radice, "Nonce"));
  r.creato = Testo(Cerca(radice, "Created"));
  r.responsabile = Testo(Cerca(radice, "Issuer"));
  r.soggetto = Testo(Cerca(radice, "NameID"));
  r.audience = Testo(Cerca(radice, "Audience"));
  if (const xmlNode* dichiarazione = Cerca(radice, "AttributeStatement")) {
    for (const xmlNode* a = dichiarazione->children; a; a = a->next) {
      if (a->type == XML_ELEMENT_NODE) {
        r.attributi[Attributo(a, "Name")] = Testo(Cerca(a->children, "AttributeValue"));
      }
    }
  }
  r.password = Decifra(chiave, Testo(Cerca(radice, "Password")), r);
  if (const xmlNode* nuova = Cerca(radice, "NewPassword"))
    r.nuova_password = Decifra(chiave, Testo(nuova), r);
  return r;
}

std::string Busta(const std::string& corpo) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><soap:Envelope "
         "xmlns:soap=\"http://www.w3.org/2003/05/soap-envelope\"><soap:Body>" +
         corpo + "</soap:Body></soap:Envelope>";
}

std::string Esito(const std::string& codice, const std::string& messaggio) {
  return Busta(
      "<samlp:Response xmlns:samlp=\"urn:oasis:names:tc:SAML:2.0:protocol\">"
      "<samlp:Status><samlp:StatusCode Value=\"urn:oasis:names:tc:SAML:2.0:status:" +
      codice + "\"/><samlp:StatusMessage>" + EscapeXml(messaggio) +
      "</samlp:StatusMessage></samlp:Status></samlp:Response>");
}

// A refused password change: a SOAP 1.2 fault with the provider's detail.
Risposta FaultCambio(const std::string& codice, const std::string& descrizione) {
  return {400,
          "<?xml version=\"1.0\" encoding=\"UTF-8\"?><soap:Envelope "
          "xmlns:soap=\"http://www.w3.org/2003/05/soap-envelope\"><soap:Body><soap:Fault>"
          "<soap:Code><soap:Value>soap:Sender</soap:Value></soap:Code><soap:Reason>"
          "<soap:Text xml:lang=\"it\">Aggiornamento password non riuscito</soap:Text>"
          "</soap:Reason><soap:Detail><rve:FailedAuthentication "
          "xmlns:rve=\"urn:rve:2013:rve-body\"><rve:ErrorCode>" +
              codice + "</rve:ErrorCode><rve:Description>" + EscapeXml(descrizione) +
              "</rve:Description></rve:FailedAuthentication></soap:Detail></soap:Fault>"
              "</soap:Body></soap:Envelope>",
          TipoSoap(VersioneSoap::Soap12)};
}

std::string Asserzione(const RichiestaAutenticazione& r, const std::string& id) {
  std::string attributi;
  for (const auto& [nome, valore] : r.attributi) {
    attributi += "<saml:Attribute Name=\"" + EscapeXml(nome) + "\"><saml:AttributeValue>" +
                 EscapeXml(valore) + "</saml:AttributeValue></saml:Attribute>";
  }
  return "<saml:Assertion ID=\"" + EscapeXml(id) + "\" Version=\"2.0\" IssueInstant=\"" +
         EscapeXml(r.creato) +
         "\" xmlns:saml=\"urn:oasis:names:tc:SAML:2.0:assertion\"><saml:Issuer>"
         "http://identityAndAssertionsProvider</saml:Issuer><saml:Subject><saml:NameID>" +
         EscapeXml(r.soggetto) + "</saml:NameID></saml:Subject><saml:Conditions NotBefore=\"" +
         EscapeXml(r.creato) + "\"><saml:AudienceRestriction><saml:Audience>" +
         EscapeXml(r.audience) +
         "</saml:Audience></saml:AudienceRestriction></saml:Conditions>"
         "<saml:AttributeStatement>" +
         attributi + "</saml:AttributeStatement></saml:Assertion>";
}

}  // namespace

IdentityProvider::IdentityProvider(Sandbox& sandbox, std::filesystem::path chiave_privata,
                                   std::string percorso)
    : stato_(std::make_shared<Stato>()) {
  stato_->chiave = std::move(chiave_privata);
  stato_->percorso = std::move(percorso);
  stato_->schemi = Schemi::Condivisi(Schemi::CartellaPredefinita());
  auto stato = stato_;
  sandbox.Registra("POST", stato_->percorso,
                   [stato](const Richiesta& richiesta) { return Servi(*stato, richiesta); });
}

void IdentityProvider::AggiungiUtente(const std::string& utente, const std::string& password,
                                      bool scaduta) {
  std::lock_guard blocco(stato_->mutex);
  stato_->utenti[utente] = {password, scaduta};
}

void IdentityProvider::AggiungiDelega(const std::string& cf_delegato,
                                      const std::string& cf_responsabile) {
  std::lock_guard blocco(stato_->mutex);
  stato_->deleghe.emplace(cf_delegato, cf_responsabile);
}

std::string IdentityProvider::Password(const std::string& utente) const {
  std::lock_guard blocco(stato_->mutex);
  auto it = stato_->utenti.find(utente);
  return it == stato_->utenti.end() ? std::string() : it->second.password;
}

std::vector<RichiestaAutenticazione> IdentityProvider::Richieste() const {
  std::lock_guard blocco(stato_->mutex);
  return stato_->richieste;
}

bool IdentityProvider::HaEmesso(std::string_view id) const {
  std::lock_guard blocco(stato_->mutex);
  return stato_->asserzioni.contains(id);
}

Risposta IdentityProvider::CambiaPassword(Utente& utente, const RichiestaAutenticazione& r) {
  if (utente.password != r.password) return FaultCambio("ERR_00054", "Credenziali Errate");
  if (r.nuova_password.empty() || r.nuova_password[0] == '\x01' ||
      r.nuova_password == utente.password) {
    return FaultCambio("ERR_00057", "La Password non rispetta le policy aziendali");
  }
  utente = {r.nuova_password, false};
  return {200,
          Busta("<rve-b:UpdatePasswordResponse xmlns:rve-b=\"urn:rve:2013:rve-body\">"
                "<rve-b:expirationDate>2027-06-06</rve-b:expirationDate>"
                "</rve-b:UpdatePasswordResponse>"),
          TipoSoap(VersioneSoap::Soap12)};
}

std::string IdentityProvider::ContestoRifiutato(const Stato& stato,
                                                const RichiestaAutenticazione& r) {
  if (r.soggetto == r.responsabile) return {};
  if (!stato.deleghe.contains({r.soggetto, r.responsabile})) {
    return "ERR_00052 Il responsabile o l'utente non possono accedere al Servizio";
  }
  auto contesto = r.attributi.find("RequestContext");
  if (contesto == r.attributi.end() || contesto->second != "C.1.2") {
    return "ERR_00041 Il valore dell'attributo RequestContext non permette l'accesso al servizio";
  }
  return {};
}

Risposta IdentityProvider::Servi(Stato& stato, const Richiesta& richiesta) {
  std::string esito = "non validata";
  if (stato.schemi) {
    if (auto violazione = PrimaViolazione(*stato.schemi, richiesta.corpo)) {
      const std::string motivo =
          "Richiesta non conforme allo schema: " + DescriviViolazione(*violazione);
      Risposta rifiuto{500, TestoFaultSoap(VersioneSoap::Soap12, motivo, "env:Sender"),
                       TipoSoap(VersioneSoap::Soap12)};
      rifiuto.esito_validazione = "non valida: " + motivo;
      return rifiuto;
    }
    esito = "valida";
  }
  Risposta risposta = Gestisci(stato, richiesta);
  risposta.esito_validazione = esito;
  return risposta;
}

Risposta IdentityProvider::Gestisci(Stato& stato, const Richiesta& richiesta) {
  const std::string tipo = TipoSoap(VersioneSoap::Soap12);
  auto letta = Leggi(richiesta.corpo, stato.chiave);
  if (!letta) return {500, TestoFaultSoap(VersioneSoap::Soap12, "Richiesta non leggibile"), tipo};
  std::lock_guard blocco(stato.mutex);
  stato.richieste.push_back(*letta);
  auto utente = stato.utenti.find(letta->utente);
  if (letta->azione == "urn:rve:UpdatePasswordRequest") {
    if (utente == stato.utenti.end()) return FaultCambio("ERR_00054", "Credenziali Errate");
    return CambiaPassword(utente->second, *letta);
  }
  if (utente == stato.utenti.end() || utente->second.password != letta->password) {
    return {200, Esito("Requester", "ERR_00054 Credenziali Errate"), tipo};
  }
  if (utente->second.scaduta) return {200, Esito("Requester", "ERR_00056 Password Scaduta"), tipo};
  if (auto rifiuto = ContestoRifiutato(stato, *letta); !rifiuto.empty()) {
    return {200, Esito("Requester", rifiuto), tipo};
  }
  const std::string id = "_sbx" + std::to_string(++stato.emesse);
  stato.asserzioni.insert(id);
  const std::string risposta = Busta(
      "<samlp:Response xmlns:samlp=\"urn:oasis:names:tc:SAML:2.0:protocol\"><samlp:Status>"
      "<samlp:StatusCode Value=\"urn:oasis:names:tc:SAML:2.0:status:Success\"/>"
      "</samlp:Status>" +
      Asserzione(*letta, id) + "</samlp:Response>");
  return {200, risposta, tipo};
}

}  // namespace qzkiro::sandbox
