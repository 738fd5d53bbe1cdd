#include "sandbox/Ambiente.h"

#include "sandbox/Guasto.h"

#include <ctime>

namespace qzkiro::sandbox {

namespace {

// A SOAP 1.1 service that answers what it received: the action and the size
// of the envelope. It proves a round trip before the real services exist.
Risposta Eco(const Richiesta& richiesta) {
  const std::string corpo =
      "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body>"
      "<EcoRisposta><azione>" +
      EscapeXml(richiesta.Intestazione("SOAPAction")) + "</azione><byte>" +
      std::to_string(richiesta.corpo.size()) + "</byte><certificato>" +
      EscapeXml(richiesta.soggetto_certificato) +
      "</certificato></EcoRisposta></soap:Body></soap:Envelope>";
  return {200, corpo, TipoSoap(VersioneSoap::Soap11)};
}

// The national time reference: five lines, the third the local offset from
// UTC in seconds, the fifth the local date and time (Italian time, UTC+1).
Risposta OraEsatta(const Richiesta&) {
  const std::time_t adesso = std::time(nullptr) + 3600;
  std::tm locale{};
  gmtime_r(&adesso, &locale);
  char testo[32];
  std::strftime(testo, sizeof testo, "%Y-%m-%d %H:%M:%S", &locale);
  return {200, std::to_string(adesso - 3600) + "\nINRIM\n3600\nCET\n" + testo + "\n",
          "text/plain; charset=utf-8"};
}

}  // namespace

Ambiente::Ambiente(const std::filesystem::path& cartella_pki)
    : pki_(Pki::Crea(cartella_pki)),
      sandbox_(pki_),
      hl7_(sandbox_),
      regione_(hl7_),
      idp_(sandbox_, pki_.ChiaveIdp(), "/iap"),
      ricette_(sandbox_, pki_.ChiaveFse(), "/dem", &idp_),
      fse_(sandbox_, pki_, &idp_),
      fhir_(sandbox_, &idp_),
      piani_(sandbox_, pki_.ChiaveFse(), "/pt", &idp_),
      ivaq_(sandbox_, "/ivaq", &idp_),
      lotti_(sandbox_),
      flussi_asl_(sandbox_),
      relay_(sandbox_) {
  sandbox_.Registra("POST", "/eco", Eco);
  sandbox_.Registra("GET", "/inrim-web/ntp/itRefTime.php", OraEsatta);
  idp_.AggiungiUtente(kUtenteDemo, kPasswordDemo);
}

std::vector<std::pair<std::string, std::string>> Ambiente::Chiavi() const {
  const auto dem = [this](std::string_view servizio) {
    return sandbox_.Url(ricette_.Radice() + "/" + std::string(servizio));
  };
  return {
      {"client/iap", sandbox_.Url(idp_.Percorso())},
      {"client/hl7", sandbox_.Url(hl7_.Radice())},
      {"client/certificato", pki_.Idp().string()},
      {"client/certificatoSarCF", pki_.SarCf().string()},
      {"client/invioprescritto", dem("InvioPrescritto")},
      {"client/invioprescrittoeco", dem("InvioPrescrittoEco")},
      {"client/invioprescrittoermete", dem("InvioPrescrittoErmete")},
      {"client/invioprescrittobianca", dem("InvioPrescrittoRicettaBianca")},
      {"client/annullaprescritto", dem("AnnullaPrescritto")},
      {"client/annullaprescrittobianca", dem("AnnullaPrescrittoRicettaBianca")},
      {"client/visualizzaprescritto", dem("VisualizzaPrescritto")},
      {"client/registryreg", sandbox_.Url(fse_.Percorso(ServiziFse::Servizio::kRegistry))},
      {"client/repositoryfse", sandbox_.Url(fse_.Percorso(ServiziFse::Servizio::kRetrieve))},
      {"client/repositoryreg", sandbox_.Url(fse_.Percorso(ServiziFse::Servizio::kPubblicazione))},
      {"client/querypaziente", sandbox_.Url(fse_.Percorso(ServiziFse::Servizio::kAnagrafica))},
      {"client/acn", sandbox_.Url(fhir_.Radice())},
      {"client/indicatoripa", sandbox_.Url(fhir_.Radice())},
      {"client/elencopt", sandbox_.Url(piani_.PercorsoElenco())},
      {"client/visualizzapt", sandbox_.Url(piani_.PercorsoVisualizza())},
      {"client/ivaq", sandbox_.Url(ivaq_.Percorso())},
      {"client/lotti", sandbox_.Url()},
      {"client/flussoasl", sandbox_.Url(ServiziFlussiAsl::Radice(false))},
      {"client/flussoasl050103", sandbox_.Url(ServiziFlussiAsl::Radice(true))},
      {"client/relayposta", sandbox_.Url(relay_.Radice())},
      {"sandbox/eco", sandbox_.Url("/eco")},
      {"sandbox/http", sandbox_.UrlHttp()},
      {"pki/ca", pki_.Ca().string()},
      {"pki/client", pki_.ClientP12().string()},
      {"pki/password", std::string(Pki::kPassword)},
      {"pki/fse", pki_.Fse().string()},
  };
}

}  // namespace qzkiro::sandbox
