#include "net/MessaggiIdentita.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "net/ErroriServizio.h"
#include "util/clsXML.h"

namespace qzkiro::net {

namespace {

constexpr std::string_view kAlfabeto =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

// The pieces before the body, shared by both requests.
std::string Testata(const clsItemAsserzione& item, const std::string& azione, const std::string& id,
                    const std::string& password_cifrata, const std::string& dopo_created) {
  return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>") +
         "<soap:Envelope xmlns:soap=\"http://www.w3.org/2003/05/soap-envelope\" "
         "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
         "xsi:schemaLocation=\"http://www.w3.org/2003/05/soap-envelope soap-envelope.xsd\">" +
         "  <soap:Header xmlns:wsa=\"http://www.w3.org/2005/08/addressing\" "
         "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
         "xsi:schemaLocation=\"http://www.w3.org/2005/08/addressing ws-addr.xsd\">" +
         "    <wsa:Action>" + azione + "</wsa:Action>" + "    <wsa:MessageID>urn:uuid:" + id +
         "</wsa:MessageID>" + "    <wsa:To>http://identityAndAssertionsProvider</wsa:To>" +
         "    <wsse:Security "
         "xmlns:wsse=\"http://docs.oasis-open.org/wss/2004/01/"
         "oasis-200401-wss-wssecurity-secext-1.0.xsd\" "
         "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
         "xsi:schemaLocation=\"http://docs.oasis-open.org/wss/2004/01/"
         "oasis-200401-wss-wssecurity-secext-1.0.xsd "
         "oasis-200401-wss-wssecurity-secext-1.0.xsd\">" +
         "      <wsse:UsernameToken xmlns:utp=\"http://docs.oasis-open.org/wss/2004/01/"
         "oasis-200401-wss-wssecurity-utility-1.0.xsd\">" +
         "        <wsse:Username>" + item.UserName + "</wsse:Username>" +
         "        <wsse:Password Type=\"rve:PasswordEncrypted\">" + password_cifrata +
         "</wsse:Password>" + "        <wsse:Nonce>" + item.Nonce + "</wsse:Nonce>" +
         "        <utp:Created>" + item.TimeStamp + "</utp:Created>" + dopo_created +
         "      </wsse:UsernameToken>" + "    </wsse:Security>" + "  </soap:Header>";
}

std::string Attributo(const std::string& nome, const std::string& valore) {
  return "          <Attribute Name=\"" + nome + "\">" + "            <AttributeValue>" + valore +
         "</AttributeValue>" + "          </Attribute>";
}

bool ContieneSuccess(std::string valore) {
  std::transform(valore.begin(), valore.end(), valore.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return valore.find("success") != std::string::npos;
}

// The fault's reason, followed by each description of the failed
// authentication on a line of its own.
std::string TestoFault(util::clsXML& xml) {
  auto* radice = xml.rootNode();
  std::string testo = xml.GetNode(radice, "Body/Fault/Reason/Text");
  for (auto* descrizione :
       xml.SelectNodeList(radice, "Body/Fault/Detail/FailedAuthentication/Description")) {
    testo += "\r\n" + xml.GetNode(descrizione, ".");
  }
  return testo;
}

void ApplicaCodice(const std::string& risposta, clsItemAsserzione& item) {
  if (auto errore = DecodificaErroreAsserzione(risposta)) {
    item.LastErrorCode = errore.codice;
    item.LastError = errore.messaggio;
  }
}

}  // namespace

std::string CreaNonce(core::Casuale& casuale) {
  std::string nonce;
  for (int i = 0; i < 22; ++i) nonce.push_back(kAlfabeto[casuale.Entro(kAlfabeto.size())]);
  return nonce + "==";
}

std::string CreaIDMessaggio(core::Casuale& casuale) {
  std::array<std::uint32_t, 4> parole{};
  for (auto& parola : parole) parola = casuale.Prossimo();
  std::array<unsigned char, 16> b{};
  std::memcpy(b.data(), parole.data(), b.size());
  b[6] = static_cast<unsigned char>((b[6] & 0x0F) | 0x40);  // version 4: random
  b[8] = static_cast<unsigned char>((b[8] & 0x3F) | 0x80);  // the standard variant
  char testo[37];
  std::snprintf(testo, sizeof testo,
                "%02x%02x%02x%02x-%02x%02x-%02x%02x-%02x%02x-%02x%02x%02x%02x%02x%02x", b[0], b[1],
                b[2], b[3], b[4], b[5], b[6], b[7], b[8], b[9], b[10], b[11], b[12], b[13], b[14],
                b[15]);
  return testo;
}

std::string TimeStampSaml(const util::DataOra& utc) {
  return utc.Formato("yyyy-mm-dd") + "T" + utc.Formato("hh:nn:ss") + "Z";
}

std::string BustaAutenticazione(const clsItemAsserzione& item, const std::string& id,
                                const std::string& password_cifrata) {
  std::string attributi = Attributo("UserClientAuthentication", item.TipologiaAutenticazione) +
                          Attributo("ApplicationID", item.ApplicationID()) +
                          Attributo("PatientID", item.CFPaziente) +
                          Attributo("RequestContext", item.Contesto);
  if (!item.Struttura.empty()) attributi += Attributo("codStruttura", item.Struttura);
  if (!item.OTP.empty()) attributi += Attributo("codOTP", item.OTP);
  return Testata(item, "urn:rve:AuthenticateAndGetAssertionRequest", id, password_cifrata, "") +
         "  <soap:Body xmlns:samlp=\"urn:oasis:names:tc:SAML:2.0:protocol\" "
         "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
         "xsi:schemaLocation=\"urn:oasis:names:tc:SAML:2.0:protocol "
         "saml-schema-protocol-2.0.xsd\">" +
         "    <samlp:AuthnRequest ID=\"msgId_" + id + "\" Version=\"2.0\" IssueInstant=\"" +
         item.TimeStamp + "\">" + "      <Issuer xmlns=\"urn:oasis:names:tc:SAML:2.0:assertion\">" +
         item.CFResponsabile + "</Issuer>" + "      <samlp:Extensions>" +
         "        <AttributeStatement xmlns=\"urn:oasis:names:tc:SAML:2.0:assertion\">" +
         attributi + "        </AttributeStatement>" + "      </samlp:Extensions>" +
         "      <Subject xmlns=\"urn:oasis:names:tc:SAML:2.0:assertion\">" + "        <NameID>" +
         item.CFUtente + "</NameID>" + "      </Subject>" +
         "      <Conditions xmlns=\"urn:oasis:names:tc:SAML:2.0:assertion\" NotBefore=\"" +
         item.TimeStamp + "\" NotOnOrAfter=\"" + item.TimeStamp1d + "\">" +
         "        <AudienceRestriction>" + "          <Audience>" + item.Audience + "</Audience>" +
         "        </AudienceRestriction>" + "      </Conditions>" + "    </samlp:AuthnRequest>" +
         "  </soap:Body>" + "</soap:Envelope>";
}

std::string BustaAggiornaPassword(const clsItemAsserzione& item, const std::string& id,
                                  const std::string& password_cifrata,
                                  const std::string& nuova_cifrata) {
  return Testata(item, "urn:rve:UpdatePasswordRequest", id, password_cifrata,
                 "        <rve-h:NewPassword>" + nuova_cifrata + "</rve-h:NewPassword>") +
         "  <soap:Body xmlns:rve-b=\"urn:rve:2013:rve-body\" "
         "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
         "xsi:schemaLocation=\"urn:rve:2013:rve-body rve-body.xsd\">" +
         "    <rve-b:UpdatePasswordRequest/>" + "  </soap:Body> " + "</soap:Envelope> ";
}

bool LeggiRispostaAutenticazione(const std::string& risposta, clsItemAsserzione& item) {
  util::clsXML xml;
  if (!xml.LoadXML(risposta, true)) {
    item.LastError = "Non è stato possibile leggere la risposta";
    return false;
  }
  auto* radice = xml.rootNode();
  if (auto* stato = xml.SelectNode(radice, "Body/Response/Status/StatusCode")) {
    const std::string valore = xml.GetAttribute(stato, "Value");
    if (ContieneSuccess(valore)) {
      const auto inizio = risposta.find("<saml:Assertion ");
      const auto fine = risposta.find("</saml:Assertion>", inizio);
      if (inizio == std::string::npos || fine == std::string::npos) {
        item.LastError = "Non è stato possibile leggere la risposta";
        return false;
      }
      item.Asserzione = risposta.substr(inizio, fine + 17 - inizio);
      return true;
    }
    item.LastErrorCode = valore;
    item.LastError = xml.GetNode(radice, "Body/Response/Status/StatusMessage");
    ApplicaCodice(risposta, item);
    return false;
  }
  item.LastError = TestoFault(xml);
  item.LastErrorCode = xml.GetNode(radice, "Body/Fault/Detail/FailedAuthentication/ErrorCode");
  ApplicaCodice(risposta, item);
  return false;
}

bool LeggiRispostaAggiornaPassword(const std::string& risposta, std::string& errore) {
  errore.clear();
  util::clsXML xml;
  if (!xml.LoadXML(risposta, true)) return false;
  auto* radice = xml.rootNode();
  if (xml.SelectNode(radice, "Body/UpdatePasswordResponse/expirationDate")) return true;
  if (xml.SelectNode(radice, "Body/Fault")) {
    errore = TestoFault(xml);
  } else {
    errore = xml.GetNode(radice, "Body/Response/Status/StatusMessage");
    if (auto codice = DecodificaErroreAsserzione(risposta)) errore = codice.messaggio;
  }
  return false;
}

}  // namespace qzkiro::net
