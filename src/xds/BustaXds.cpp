#include "xds/BustaXds.h"

#include <algorithm>
#include <cctype>

#include "util/Testo.h"

namespace qzkiro::xds {

namespace {
constexpr std::string_view kSoap12 = "http://www.w3.org/2003/05/soap-envelope";
constexpr std::string_view kAddressing = "http://www.w3.org/2005/08/addressing";
constexpr std::string_view kWsse =
    "http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-wssecurity-secext-1.0.xsd";
constexpr std::string_view kAnonimo = "http://www.w3.org/2005/08/addressing/anonymous";

// The host's GUID as a message id wants it: lower case, without braces.
std::string IdMessaggio(std::string testo) {
  if (!testo.empty() && testo.front() == '{') testo.erase(0, 1);
  if (!testo.empty() && testo.back() == '}') testo.pop_back();
  std::transform(testo.begin(), testo.end(), testo.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return testo;
}
}  // namespace

std::string BustaSoap12(std::string_view prefisso, const Indirizzamento& indirizzo,
                        std::string_view corpo, std::string_view dichiarazioni) {
  const std::string p(prefisso);
  std::string b;
  b.reserve(corpo.size() + 1024);
  b += "<" + p + ":Envelope xmlns:" + p + "=\"" + std::string(kSoap12) + "\" xmlns:add=\"" +
       std::string(kAddressing) + "\" xmlns:wsse=\"" + std::string(kWsse) + "\"";
  b += dichiarazioni;
  b += "><" + p + ":Header>";
  b += "<add:Action>" + util::XmlEscape(indirizzo.azione) + "</add:Action>";
  b += "<add:MessageID>urn:uuid:" + util::XmlEscape(IdMessaggio(indirizzo.message_id)) +
       "</add:MessageID>";
  b += "<add:ReplyTo><add:Address>" + std::string(kAnonimo) + "</add:Address></add:ReplyTo>";
  b += "<add:To>" + util::XmlEscape(indirizzo.to) + "</add:To>";
  b += "<wsse:Security>[Asserzione]</wsse:Security>";
  b += "</" + p + ":Header><" + p + ":Body>";
  b += corpo;
  b += "</" + p + ":Body></" + p + ":Envelope>";
  return b;
}

std::string ContentTypeSoap12(std::string_view azione) {
  return "application/soap+xml;charset=UTF-8;action=\"" + std::string(azione) + "\"";
}

}  // namespace qzkiro::xds
