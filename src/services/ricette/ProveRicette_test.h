#pragma once

// The e-prescription sends on the scripted transport: the add-on set up for
// the national services and their identity provider, the services' receipts,
// and the requests sent told in one line each.

#include <memory>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "core/Contesto.h"
#include "net/clsAsserzione.h"
#include "refhost/Ricetta.h"
#include "support/AmbientePlugin.h"
#include "support/TrasportoScriptato.h"

namespace qzkiro::services::prove {

inline constexpr const char* kMedico = "RSSMRA70A01L736S";
inline constexpr const char* kInvio = "/dem/InvioPrescritto";
inline constexpr const char* kAnnulla = "/dem/AnnullaPrescritto";
inline constexpr const char* kInvioBianca = "/dem/InvioPrescrittoRicettaBianca";
inline constexpr const char* kAnnullaBianca = "/dem/AnnullaPrescrittoRicettaBianca";
inline constexpr const char* kVisualizza = "/dem/VisualizzaPrescritto";
inline constexpr const char* kOra = "/inrim-web/ntp/itRefTime.php";

// The text of the first element named `nome` (any prefix) in `xml`.
inline std::string Elemento(const std::string& xml, const std::string& nome) {
  std::smatch trovato;
  const std::regex elemento("<(?:[A-Za-z0-9]+:)?" + nome + ">([^<]*)<");
  return std::regex_search(xml, trovato, elemento) ? trovato[1].str() : std::string();
}

struct BancoRicette {
  BancoRicette() {
    auto& c = env.Contesto();
    c.app = env.App();
    auto& s = c.settings;
    s.endpoint["iap"] = "https://idp.prova/iap";
    s.endpoint["invioprescritto"] = std::string("https://dem.prova") + kInvio;
    s.endpoint["annullaprescritto"] = std::string("https://dem.prova") + kAnnulla;
    s.endpoint["invioprescrittobianca"] = std::string("https://dem.prova") + kInvioBianca;
    s.endpoint["annullaprescrittobianca"] = std::string("https://dem.prova") + kAnnullaBianca;
    s.endpoint["visualizzaprescritto"] = std::string("https://dem.prova") + kVisualizza;
    c.servizio_asserzione = identita;
    identita->Ricorda("mrossi", "Segreta.1", kMedico, kMedico);
    testsupport::RispondiComeIdentita(*rete);
    rete->Sempre(kOra, [](const core::RichiestaHttp&) {
      return testsupport::TrasportoScriptato::NessunaRisposta("rifiutata");
    });
  }

  static std::shared_ptr<refhost::Ricetta> Campione(const std::string& nome) {
    return refhost::Ricetta::DaFile(std::string(QZKIRO_REFHOST_DATI) + "/ricette/" + nome);
  }

  // One line per request, time reference left out: "login"; "invio nre=<NRE>
  // dispReg=<value> A<n>" and "annulla nre=<NRE> A<n>", with the number of
  // the assertion the request carried.
  std::vector<std::string> Invii() const {
    std::vector<std::string> righe;
    for (const auto& r : rete->Inviate()) {
      const std::string percorso = testsupport::TrasportoScriptato::Percorso(r.url);
      if (percorso == kOra) continue;
      if (percorso == "/iap") {
        righe.emplace_back("login");
        continue;
      }
      std::string riga = percorso == kInvio ? "invio nre=" + Elemento(r.corpo, "nre") +
                                                  " dispReg=" + Elemento(r.corpo, "dispReg")
                         : percorso == kAnnulla ? "annulla nre=" + Elemento(r.corpo, "nre")
                                                : percorso;
      for (int n = 1; n <= 9; ++n) {
        if (r.corpo.find(testsupport::AsserzioneScriptata(n)) != std::string::npos) {
          riga += " A" + std::to_string(n);
        }
      }
      righe.push_back(riga);
    }
    return righe;
  }

  std::vector<std::string> Dialoghi() {
    std::vector<std::string> titoli;
    for (const auto& d : env.Ui().DialoghiMostrati()) titoli.push_back(d.titolo);
    return titoli;
  }

  testsupport::AmbientePlugin env;
  std::shared_ptr<testsupport::TrasportoScriptato> rete =
      testsupport::TrasportoScriptato::Installa(env.Contesto());
  std::shared_ptr<net::clsAsserzione> identita = std::make_shared<net::clsAsserzione>();
};

// An error or warning of a receipt: code and text.
using ErroreRicevuta = std::pair<std::string, std::string>;

// The answer of InvioPrescritto: outcome `codice`, the prescription's NRE,
// and its errors.
inline core::RispostaHttp RicevutaInvio(const std::string& codice, const std::string& nre = {},
                                        const std::vector<ErroreRicevuta>& errori = {}) {
  std::string elenco;
  for (const auto& [cod, esito] : errori) {
    elenco += "<ric:ErroreRicetta><ric:codEsito>" + cod + "</ric:codEsito><ric:esito>" + esito +
              "</ric:esito><ric:tipoErrore>Bloccante</ric:tipoErrore></ric:ErroreRicetta>";
  }
  return testsupport::TrasportoScriptato::Stato(
      200,
      "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body>"
      "<ric:InvioPrescrittoRicevuta "
      "xmlns:ric=\"http://invioprescrittoricevuta.xsd.dem.sanita.finanze.it\">"
      "<ric:nre>" +
          nre + "</ric:nre><ric:codAutenticazione>" + (nre.empty() ? "" : "AB12CD") +
          "</ric:codAutenticazione><ric:codEsitoInserimento>" + codice +
          "</ric:codEsitoInserimento>" +
          (elenco.empty() ? ""
                          : "<ric:ElencoErroriRicette>" + elenco + "</ric:ElencoErroriRicette>") +
          "</ric:InvioPrescrittoRicevuta></soap:Body></soap:Envelope>");
}

// The appropriateness warning (code 9) the service answers before the
// prescriber confirms.
inline const std::string kAvvisoAppropriatezza =
    "Prescrizione non conforme alle condizioni di erogabilita. Motivo: nota 79";

inline core::RispostaHttp RicevutaAppropriatezza() {
  return RicevutaInvio("2222", "", {{"9", kAvvisoAppropriatezza}});
}

// The assertion has expired (code 7007).
inline core::RispostaHttp RicevutaAsserzioneScaduta() {
  return RicevutaInvio("2222", "", {{"7007", "Asserzione scaduta"}});
}

inline core::RispostaHttp AnnullamentoRiuscito() {
  return testsupport::TrasportoScriptato::Stato(
      200,
      "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body>"
      "<ann:AnnullaPrescrittoRicevuta "
      "xmlns:ann=\"http://annullaprescrittoricevuta.xsd.dem.sanita.finanze.it\">"
      "<ann:codEsitoAnnullamento>0000</ann:codEsitoAnnullamento>"
      "</ann:AnnullaPrescrittoRicevuta></soap:Body></soap:Envelope>");
}

}  // namespace qzkiro::services::prove
