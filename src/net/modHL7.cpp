#include "net/modHL7.h"

#include "core/Contesto.h"
#include "core/ServizioHost.h"
#include "core/modLog.h"
#include "core/modSimulator.h"
#include "util/clsXML.h"

namespace qzkiro::net {

namespace {

using core::modLog::Log;

bool Errore(const std::string& testo) {
  core::Ctx().last_error = testo;
  Log("ERR InviaHL7", testo, true);
  return false;
}

// Reads the acknowledgement: accepted when MSA.6 says "0".
bool LeggiAck(core::Contesto& c, std::string ack) {
  auto xml = std::make_shared<util::clsXML>();
  if (!xml->LoadXML(ack)) {
    return Errore("Errore servizio Send: Non è stato possibile leggere il documento ACK.");
  }
  auto* radice = xml->rootNode();
  const std::string codice = xml->GetNode(radice, "MSA/MSA.6/CE.1");
  if (codice != "0")
    return Errore("Errore HL7: " + codice + " " + xml->GetNode(radice, "MSA/MSA.6/CE.2"));
  c.id_controllo_hl7 = xml->GetNode(radice, "MSH/MSH.10");
  c.ack_hl7 = std::move(ack);
  c.risposta_regionale = std::move(xml);
  return true;
}

}  // namespace

std::string MessaggioErrorLog(long codice) {
  switch (codice) {
    case 200:
      return "";
    case 300:
      return "Mancano parametri nella funzione di spedizione";
    case 500:
    case 501:
    case 502:
      return "Mancata connessione al Server";
    case 507:
      return "Risposta errata da parte della PA";
    case 508:
    case 510:
      return "Errore in un trattamento di porta (verifica firma?)";
    case 509:
      return "SOAP exception (errore di comunicazione)";
    default:
      return "";  // the platform's current run-time error: none here
  }
}

bool InviaHL7(const std::string& servizio, bool sincrono, const std::string& mittente,
              const std::string& messaggio) {
  auto& c = core::Ctx();
  Log("Send Mittente = " + mittente);
  Log("Send Servizio = " + servizio);
  Log(std::string("Send Sincrono = ") + (sincrono ? "Vero" : "Falso"));
  Log("Send HL7", messaggio);
  if (!core::AvviaServizioHost(c)) {
    return Errore("Errore servizio Send: Non è stato possibile avviare KIRO.StartService");
  }
  std::string ack;
  std::int32_t error_log = 0;
  std::int32_t stato = 0;
  if (c.simulatore) {
    bool fatto = false;
    long stato_simulato = 0;
    ack = core::modSimulator::RispostaSimulata(c, fatto, stato_simulato, sincrono, servizio,
                                               mittente, messaggio, "");
    stato = static_cast<std::int32_t>(stato_simulato);
  } else {
    ack = c.servizio_host->Send(messaggio, mittente, servizio, sincrono, error_log, stato);
  }
  Log("Response Status = " + std::to_string(stato));
  Log("Response Error_Log = " + std::to_string(error_log));
  Log("Response ACK", ack);
  if (error_log != 0) return Errore("Errore: " + MessaggioErrorLog(error_log));
  if (ack.empty()) return Errore("Errore servizio Send: Nessuna risposta ricevuta.");
  return LeggiAck(c, std::move(ack));
}

}  // namespace qzkiro::net
