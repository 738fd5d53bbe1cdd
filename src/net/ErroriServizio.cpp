#include "net/ErroriServizio.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>

namespace qzkiro::net {

namespace {

// Each entry: the code (nine characters), a blank, the message.
constexpr std::array<std::string_view, 23> kErrori = {
    "ERR_00011 Mismatch tra firma e chiave pubblica",
    "ERR_00012 Firma digitale strutturata in modo non corretto",
    "ERR_00013 Password criptata utilizzando un certificato non corretto",
    "ERR_00021 Assenza del Security token",
    "ERR_00022 Assenza del token di Asserzione",
    "ERR_00023 Il token SAML utilizzato non è well-formed e non può essere riconosciuto",
    "ERR_00031 Il valore dell'attributo NotBefore è posteriore all'istante di utilizzo "
    "dell'asserzione",
    "ERR_00032 Il valore dell'attributo NotOnOrAfter è precedente all'istante di utilizzo "
    "dell'asserzione",
    "ERR_00033 L'intervallo temporale dell'asserzione non è conforme alle policy regionali",
    "ERR_00041 Il valore dell'attributo RequestContext non permette l'accesso al servizio",
    "ERR_00042 Il valore dell'attributo Role non permette l'accesso al Servizio",
    "ERR_00043 Il valore dell'attributo ClientUserAuthentication non permette l'accesso al "
    "servizio",
    "ERR_00044 Il valore dell'elemento AudienceRestriction non permette l'accesso al servizio",
    "ERR_00045 Il valore dell'elemento ApplicationID non permette l'accesso al servizio",
    "ERR_00051 Il firmatario dell'asserzione non è un attore trustabile",
    "ERR_00052 Il responsabile o l'utente non possono accedere al Servizio",
    "ERR_00053 L'asserzione di identità non è firmata",
    "ERR_00054 Credenziali Errate",
    "ERR_00055 Data e Ora disallineate",
    "ERR_00056 Password Scaduta",
    "ERR_00057 La Password non rispetta le policy aziendali",
    "ERR_00058 Parametri della richiesta di asserzione non conformi alle policy aziendali.",
    "ERR_00059 Il Codice Fiscale del Responsabile non coincide con quello gestito dalla ULSS",
};

bool ContieneSenzaMaiuscole(std::string_view testo, std::string_view cosa) {
  auto uguale = [](char a, char b) {
    return std::toupper(static_cast<unsigned char>(a)) ==
           std::toupper(static_cast<unsigned char>(b));
  };
  return std::search(testo.begin(), testo.end(), cosa.begin(), cosa.end(), uguale) != testo.end();
}

// "<codEsito>7007</codEsito>", also with a namespace prefix on the element
// ("<td:codEsito>7007</td:codEsito>"), as the services write their receipts.
bool EsitoAsserzioneScaduta(std::string_view risposta) {
  constexpr std::string_view kCodice = "codEsito>7007</";
  for (auto at = risposta.find(kCodice); at != std::string_view::npos;
       at = risposta.find(kCodice, at + 1)) {
    if (at > 0 && (risposta[at - 1] == '<' || risposta[at - 1] == ':')) return true;
  }
  return false;
}

}  // namespace

ErroreServizio DecodificaErroreAsserzione(std::string_view risposta) {
  // One pass over the answer (it may be a document of many megabytes): each
  // "ERR_" in any letter case is matched against the table; the first code of
  // the table that occurs wins.
  std::array<bool, kErrori.size()> presente{};
  for (auto at = risposta.find('_'); at != std::string_view::npos; at = risposta.find('_', at + 1)) {
    if (at < 3 || at + 6 > risposta.size()) continue;
    const std::string_view codice = risposta.substr(at - 3, 9);
    if (!ContieneSenzaMaiuscole(codice.substr(0, 4), "ERR_")) continue;
    for (std::size_t i = 0; i < kErrori.size(); ++i) {
      presente[i] = presente[i] || ContieneSenzaMaiuscole(codice, kErrori[i].substr(0, 9));
    }
  }
  for (std::size_t i = 0; i < kErrori.size(); ++i) {
    if (presente[i]) return {std::string(kErrori[i].substr(0, 9)), std::string(kErrori[i].substr(10))};
  }
  if (EsitoAsserzioneScaduta(risposta)) {
    return {"7007",
            "Il valore dell'attributo NotOnOrAfter e' precedente all'istante dell'utilizzo "
            "dell'asserzione"};
  }
  return {};
}

std::string EstraiFault(const std::string& errore, const std::string& stato,
                        bool solo_faultstring) {
  if (auto at = errore.find("<faultstring>"); at != std::string::npos) {
    std::string fault = errore.substr(at + 13);
    return fault.substr(0, fault.find("</faultstring>"));
  }
  if (!solo_faultstring) {
    if (auto at = errore.find("Description>"); at != std::string::npos) {
      std::string descrizione = errore.substr(at + 12);
      return descrizione.substr(0, descrizione.find('<'));
    }
  }
  return "Errore di comunicazione " + stato;
}

PartiUrl DividiUrl(const std::string& url) {
  PartiUrl parti;
  const std::string esteso = url + "/";
  const auto barra = esteso.size() > 8 ? esteso.find('/', 8) : std::string::npos;
  parti.percorso = barra == std::string::npos ? "/" : esteso.substr(barra);
  if (parti.percorso.size() > 1) parti.percorso.pop_back();  // the "/" added above
  std::string host = esteso.substr(0, barra);
  if (host.rfind("https://", 0) == 0) {
    host.erase(0, 8);
    parti.porta = 443;
    parti.tls = true;
  } else if (host.rfind("http://", 0) == 0) {
    host.erase(0, 7);
    parti.porta = 80;
  }
  if (auto due_punti = host.find(':'); due_punti != std::string::npos) {
    parti.porta = std::atoi(host.c_str() + due_punti + 1);
    host.resize(due_punti);
  }
  parti.host = host;
  return parti;
}

}  // namespace qzkiro::net
