#include "support/TrasportoScriptato.h"

#include <gtest/gtest.h>

namespace qzkiro::testsupport {

std::shared_ptr<TrasportoScriptato> TrasportoScriptato::Installa(core::Contesto& contesto) {
  auto trasporto = std::make_shared<TrasportoScriptato>();
  contesto.trasporto_http = trasporto;
  return trasporto;
}

TrasportoScriptato& TrasportoScriptato::Accoda(const std::string& percorso,
                                               core::RispostaHttp risposta) {
  coda_[percorso].push_back(std::move(risposta));
  return *this;
}

TrasportoScriptato& TrasportoScriptato::Sempre(const std::string& percorso,
                                               Risponditore risponditore) {
  sempre_[percorso] = std::move(risponditore);
  return *this;
}

core::RispostaHttp TrasportoScriptato::Invia(const core::RichiestaHttp& richiesta) {
  inviate_.push_back(richiesta);
  const std::string percorso = Percorso(richiesta.url);
  if (auto coda = coda_.find(percorso); coda != coda_.end() && !coda->second.empty()) {
    core::RispostaHttp risposta = std::move(coda->second.front());
    coda->second.pop_front();
    return risposta;
  }
  if (auto sempre = sempre_.find(percorso); sempre != sempre_.end()) {
    return sempre->second(richiesta);
  }
  ADD_FAILURE() << "nessuna risposta preparata per " << richiesta.metodo << " " << richiesta.url;
  return NessunaRisposta("nessuna risposta preparata per " + richiesta.url);
}

std::vector<core::RichiestaHttp> TrasportoScriptato::Inviate(std::string_view percorso) const {
  std::vector<core::RichiestaHttp> scelte;
  for (const auto& r : inviate_) {
    if (Percorso(r.url) == percorso) scelte.push_back(r);
  }
  return scelte;
}

std::size_t TrasportoScriptato::DaConsumare() const {
  std::size_t n = 0;
  for (const auto& [percorso, coda] : coda_) n += coda.size();
  return n;
}

std::string TrasportoScriptato::Percorso(std::string_view url) {
  const auto schema = url.find("://");
  const auto inizio = url.find('/', schema == std::string_view::npos ? 0 : schema + 3);
  if (inizio == std::string_view::npos) return "/";
  return std::string(url.substr(inizio, url.find('?', inizio) - inizio));
}

core::RispostaHttp TrasportoScriptato::Stato(long stato, std::string corpo,
                                             std::string testo_stato) {
  core::RispostaHttp r;
  r.ricevuta = true;
  r.stato = stato;
  r.corpo = std::move(corpo);
  r.testo_stato = std::move(testo_stato);
  return r;
}

core::RispostaHttp TrasportoScriptato::NessunaRisposta(std::string errore) {
  core::RispostaHttp r;
  r.errore = std::move(errore);
  return r;
}

core::RispostaHttp TrasportoScriptato::TempoScaduto(std::string errore) {
  core::RispostaHttp r = NessunaRisposta(std::move(errore));
  r.tempo_scaduto = true;
  return r;
}

std::string AsserzioneScriptata(int n) {
  const std::string numero = std::to_string(n);
  return "<saml:Assertion ID=\"_" + numero + "\">asserzione-" + numero + "</saml:Assertion>";
}

void RispondiComeIdentita(TrasportoScriptato& trasporto, const std::string& percorso) {
  auto accessi = std::make_shared<int>(0);
  trasporto.Sempre(percorso, [accessi](const core::RichiestaHttp& r) {
    if (r.Intestazione("SOAPAction").find("UpdatePassword") != std::string::npos) {
      return TrasportoScriptato::Stato(
          200,
          "<Envelope><Body><UpdatePasswordResponse><expirationDate>2027-06-06"
          "</expirationDate></UpdatePasswordResponse></Body></Envelope>");
    }
    return TrasportoScriptato::Stato(
        200,
        "<s:Envelope xmlns:s=\"http://www.w3.org/2003/05/soap-envelope\" "
        "xmlns:samlp=\"urn:oasis:names:tc:SAML:2.0:protocol\" "
        "xmlns:saml=\"urn:oasis:names:tc:SAML:2.0:assertion\"><s:Body><samlp:Response>"
        "<samlp:Status><samlp:StatusCode Value=\"urn:oasis:names:tc:SAML:2.0:status:Success\"/>"
        "</samlp:Status>" +
            AsserzioneScriptata(++*accessi) + "</samlp:Response></s:Body></s:Envelope>");
  });
}

core::RispostaHttp FaultSoap(const std::string& testo) {
  return TrasportoScriptato::Stato(
      500,
      "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body>"
      "<soap:Fault><faultcode>soap:Client</faultcode><faultstring>" +
          testo + "</faultstring></soap:Fault></soap:Body></soap:Envelope>",
      "Internal Server Error");
}

}  // namespace qzkiro::testsupport
