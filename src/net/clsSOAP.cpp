#include "net/clsSOAP.h"

#include <algorithm>
#include <cctype>

#include "core/Contesto.h"
#include "core/modLog.h"
#include "net/ErroriServizio.h"

namespace qzkiro::net {

namespace {

using core::modLog::Log;

bool ContieneAction(std::string content_type) {
  std::transform(content_type.begin(), content_type.end(), content_type.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return content_type.find("action=") != std::string::npos;
}

constexpr const char* kContentTypePredefinito = "text/xml; charset=utf-8";

}  // namespace

std::string RichiestaPreparata::Testo() const {
  std::string testo = Method + " " + Path + " HTTP/1.1\r\n";
  for (const auto& [nome, valore] : Headers) testo += nome + ": " + valore + "\r\n";
  return testo + "\r\n" + Body;
}

std::vector<std::pair<std::string, std::string>> clsSOAP::Intestazioni() const {
  std::vector<std::pair<std::string, std::string>> out;
  if (!ContieneAction(ContentType)) out.emplace_back("SOAPAction", "\"" + Action + "\"");
  out.emplace_back("Accept-Encoding", AcceptEncoding.empty() ? "deflate" : AcceptEncoding);
  out.emplace_back("Content-Type", ContentType.empty() ? kContentTypePredefinito : ContentType);
  return out;
}

bool clsSOAP::Send(const std::string& XML) {
  return Scambio("SOAP.Send", "Action: " + Action, true,
                 [&] { return HttpRequest ? InviaPreparata() : InviaTesto(XML); });
}

bool clsSOAP::Send(const util::Bytes& XML) {
  return Scambio("SOAP.Send", "Action: " + Action, true,
                 [&] { return InviaByte(util::ComeTesto(XML)); });
}

bool clsSOAP::InviaTesto(const std::string& XML) {
  RichiestaHttp r = Base(30000);
  r.intestazioni = Intestazioni();
  r.corpo = XML;
  Log("Request", XML);
  return Invia(r, FormaScambio::kSoap);
}

bool clsSOAP::InviaPreparata() {
  const PartiUrl parti = DividiUrl(URL);
  HttpRequest->Path = parti.percorso;
  RichiestaHttp r = Base(30000);
  r.url = std::string(parti.tls ? "https://" : "http://") + parti.host + ":" +
          std::to_string(parti.porta) + parti.percorso;
  r.metodo = HttpRequest->Method;
  r.intestazioni = HttpRequest->Headers;
  r.corpo = HttpRequest->Body;
  Log("Request", HttpRequest->Testo());
  return Invia(r, FormaScambio::kSoap);
}

bool clsSOAP::InviaByte(const std::string& corpo) {
  RichiestaHttp r = Base(30000);
  r.intestazioni = Intestazioni();
  r.corpo = corpo;
  Log("Request", "Binary XML");
  return Invia(r, FormaScambio::kSoapBinario);
}

bool clsSOAP::SendCNS(const std::string& XML) {
  // That client's exchanges are not logged: its trace file is left as it is.
  return Scambio("SOAP.SendCNS", "Action: " + Action, false, [&] {
    RichiestaHttp r = Base(60000);
    r.utente.clear();  // authentication travels in its own header here
    r.verifica_server = false;
    if (!ContieneAction(ContentType))
      r.intestazioni.emplace_back("SOAPAction", "\"" + Action + "\"");
    r.intestazioni.emplace_back("Content-Type",
                                ContentType.empty() ? kContentTypePredefinito : ContentType);
    if (!UserName.empty()) {
      r.intestazioni.emplace_back(
          "Authorization", "Basic " + core::Ctx().App().Base64().Encode(UserName + ":" + Password));
    }
    r.corpo = XML;
    Log("Request", XML);
    return Invia(r, FormaScambio::kSoapCns);
  });
}

bool clsSOAP::SendAsserzione(const std::string& XML, clsItemAsserzione& itmAsserzione, bool cns,
                             bool Riprova) {
  return ConAsserzione(itmAsserzione, Riprova, [&](const clsItemAsserzione& item) {
    if (PreparaRichiesta) {
      HttpRequest = std::make_shared<RichiestaPreparata>(PreparaRichiesta(item));
      return Send(std::string());
    }
    std::string testo = XML;
    for (auto at = testo.find("[Asserzione]"); at != std::string::npos;
         at = testo.find("[Asserzione]", at + item.Asserzione.size())) {
      testo.replace(at, 12, item.Asserzione);
    }
    return cns ? SendCNS(testo) : Send(testo);
  });
}

}  // namespace qzkiro::net
