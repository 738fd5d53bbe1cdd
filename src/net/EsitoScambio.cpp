#include "net/EsitoScambio.h"

#include "net/ErroriServizio.h"
#include "util/clsXML.h"

namespace qzkiro::net {

namespace {

using core::RispostaHttp;

// The texts that quote the service, each from the parts of the answer it reads.

// The fault, else the description, else the status, from the status line and body.
std::string FaultODescrizione(const RispostaHttp& r) {
  const std::string stato = std::to_string(r.stato);
  return EstraiFault("Errore " + stato + "\r\n" + r.testo_stato + "\r\n" + r.corpo, stato);
}

// A byte body's answer is not searched: only the transport's error is.
std::string FaultDellErrore(const RispostaHttp& r) {
  const std::string stato = std::to_string(r.stato);
  return EstraiFault("Errore " + stato + "\r\n" + r.errore, stato, true);
}

std::string FaultDelCorpo(const RispostaHttp& r) {
  return EstraiFault(r.corpo, std::to_string(r.stato), true);
}

// The faultstring of the kept answer read as XML (entities resolved).
std::string FaultLetto(const RispostaHttp& r) {
  util::clsXML xml;
  if (!r.corpo.empty() && xml.LoadXML(r.corpo)) {
    std::string fault = xml.GetTextNode(xml.rootNode(), "Body/Fault/faultstring");
    if (!fault.empty()) return fault;
  }
  return r.errore.empty() ? "Errore sconosciuto" : r.errore;
}

constexpr const char* kIrraggiungibile =
    "Server non raggiungibile. Verificare la connessione o riprovare più tardi";

struct Voce {
  EsitoScambio esito;
  const char* testo;                           // a fixed text, or
  std::string (*regola)(const RispostaHttp&);  // the text read from the answer
};

// Every outcome and its message.
constexpr Voce kMessaggi[] = {
    {EsitoScambio::kRiuscito, "", nullptr},
    {EsitoScambio::kNessunaRisposta, kIrraggiungibile, nullptr},
    {EsitoScambio::kTempoScaduto, kIrraggiungibile, nullptr},
    {EsitoScambio::kNonAutorizzato,
     "Utente non autorizzato. Verificare che Username e Password siano corretti e non scaduti",
     nullptr},
    {EsitoScambio::kNonRispostoInTempo,
     "Il sistema non ha risposto entro il tempo stabilito.\r\nPotrebbe trattarsi di un problema "
     "momentaneo pertanto si invita a riprovare più tardi",
     nullptr},
    {EsitoScambio::kStato, nullptr, FaultODescrizione},
    {EsitoScambio::kStatoBinario, nullptr, FaultDellErrore},
    {EsitoScambio::kFaultSoap, nullptr, FaultDelCorpo},
    {EsitoScambio::kFaultServizio, nullptr, FaultLetto},
    {EsitoScambio::kTempoScadutoServizio,
     "Il sistema non ha risposto nei tempi prestabiliti (Timeout)", nullptr},
};

EsitoScambio SenzaRisposta(const RispostaHttp& r) {
  return r.tempo_scaduto ? EsitoScambio::kTempoScaduto : EsitoScambio::kNessunaRisposta;
}

}  // namespace

EsitoScambio ClassificaRisposta(FormaScambio forma, const RispostaHttp& r) {
  switch (forma) {
    case FormaScambio::kSoapCns:
      if (!r.ricevuta) return SenzaRisposta(r);
      return r.corpo.find("<faultstring>") == std::string::npos ? EsitoScambio::kRiuscito
                                                                : EsitoScambio::kFaultSoap;
    case FormaScambio::kSoapBinario:
      if (r.ricevuta && r.stato == 200) return EsitoScambio::kRiuscito;
      if (r.ricevuta && r.stato == 401) return EsitoScambio::kNonAutorizzato;
      return EsitoScambio::kStatoBinario;
    case FormaScambio::kSoap:
    case FormaScambio::kRest:
      break;
  }
  if (!r.ricevuta) return SenzaRisposta(r);
  if (forma == FormaScambio::kRest && r.stato == 504) return EsitoScambio::kNonRispostoInTempo;
  if (r.stato == 200) return EsitoScambio::kRiuscito;
  if (r.stato == 401) return EsitoScambio::kNonAutorizzato;
  return EsitoScambio::kStato;
}

std::string MessaggioEsito(EsitoScambio esito, const RispostaHttp& risposta) {
  for (const Voce& voce : kMessaggi) {
    if (voce.esito == esito) return voce.regola ? voce.regola(risposta) : voce.testo;
  }
  return {};
}

}  // namespace qzkiro::net
