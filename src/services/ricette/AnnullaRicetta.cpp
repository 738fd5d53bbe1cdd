// Cancellation of red and white prescriptions.

#include "core/Contesto.h"
#include "net/SecondoFattore.h"
#include "services/ricette/ClienteDem.h"
#include "services/ricette/InvioRicetta.h"
#include "services/ricette/ProprietaRicetta.h"
#include "util/Testo.h"
#include "util/clsXML.h"

namespace qzkiro::services {

namespace {

constexpr const char* kPrefisso = "Annullamento Prescrizione: ";

// The outcome of a cancellation's receipt: success, warning or error.
bool EsitoAnnullamento(const std::string& codice, const std::string& errore_codice,
                       const std::string& esito, const std::string& tipo, bool messaggi) {
  auto& c = core::Ctx();
  if (codice == "0000" || errore_codice == "5005" || errore_codice == "1120") return true;
  const std::string testo = errore_codice.empty() ? esito : errore_codice + " - " + esito;
  if (!tipo.empty() && tipo != "Bloccante") {
    if (messaggi && c.ui) c.ui->MsgBox(kPrefisso + testo, core::stile::kInformazione, "KIRO");
    return true;
  }
  c.last_error = kPrefisso + (testo.empty() ? "esito " + codice : testo);
  return false;
}

bool Errore(const std::string& testo) {
  core::Ctx().last_error = kPrefisso + testo;
  return false;
}

}  // namespace

bool AnnullaPrescrizione(host::IRicetta& ricetta, bool messaggi) {
  const std::string nre = Testo(ricetta, "NRE");
  if (nre.empty()) return true;
  auto asserzione = AsserzioneUtente(dem::kAnnulla);
  if (!asserzione) return false;
  const std::string busta =
      BustaTesto("ann", "http://annullaprescrittorichiesta.xsd.dem.sanita.finanze.it",
                 "<ann:AnnullaPrescrittoRichiesta>" + ElementoTesto("ann:nre", nre) +
                     ElementoTesto("ann:pinCode", "") + ElementoTesto("ann:cfMedico", CfUtente()) +
                     "</ann:AnnullaPrescrittoRichiesta>");
  const EsitoDem esito = InviaDem(dem::kAnnulla, busta, *asserzione);
  if (!esito.inviata) return Errore(TestoFault(esito));
  if (esito.risposta.empty()) return Errore("Il servizio ha restituito una risposta vuota");
  util::clsXML xml;
  if (!xml.LoadXML(esito.risposta)) return Errore("Risposta del server non corretta");
  const std::string base = "Body/AnnullaPrescrittoRicevuta/";
  const std::string errore = base + "ElencoErroriRicette/ErroreRicetta/";
  auto r = xml.rootNode();
  return EsitoAnnullamento(
      xml.GetTextNode(r, base + "codEsitoAnnullamento"), xml.GetTextNode(r, errore + "codEsito"),
      xml.GetTextNode(r, errore + "esito"), xml.GetTextNode(r, errore + "tipoErrore"), messaggi);
}

bool AnnullaPrescrizioneBianca(host::IRicetta& ricetta, bool messaggi) {
  const std::string nrbe = Testo(ricetta, "NRBE");
  if (nrbe.empty()) return true;
  if (!net::ChiediToken2F()) return Errore("Operazione annullata dall'utente");
  const std::string token = net::Token2F();
  if (token.empty() && net::Richiesto2F()) {
    return Errore("Eliminazione non possibile senza autenticazione a due fattori");
  }
  auto asserzione = AsserzioneUtente(dem::kAnnullaBianca, token);
  if (!asserzione) return false;
  const std::string busta = BustaTesto(
      "ann", "http://annullaprescrittoricettabiancarichiesta.xsd.dem.sanita.finanze.it",
      "<ann:AnnullaPrescrittoRicettaBiancaRichiesta>" +
          ElementoTesto("ann:pinCode", Testo(ricetta, "pinNrBe")) +
          ElementoTesto("ann:codicePaziente", CifraFse(Testo(ricetta, "PazienteCodiceFiscale"))) +
          ElementoTesto("ann:nrbe", nrbe) + ElementoTesto("ann:cfMedico", CfUtente()) +
          "</ann:AnnullaPrescrittoRicettaBiancaRichiesta>");
  const EsitoDem esito = InviaDem(dem::kAnnullaBianca, busta, *asserzione);
  if (!esito.inviata) {
    Errore(TestoFault(esito));
    net::ErroreToken2F();
    return false;
  }
  if (esito.risposta.empty()) return Errore("Il servizio ha restituito una risposta vuota");
  util::clsXML xml;
  if (!xml.LoadXML(esito.risposta)) return Errore("Risposta del server non corretta");
  const std::string base = "Body/AnnullaPrescrittoRicettaBiancaRicevuta/";
  auto r = xml.rootNode();
  const bool ok =
      EsitoAnnullamento(xml.GetTextNode(r, base + "codEsitoAnnullamento"),
                        xml.GetTextNode(r, base + "erroreRicetta/codEsito"),
                        xml.GetTextNode(r, base + "erroreRicetta/esito"),
                        xml.GetTextNode(r, base + "erroreRicetta/tipoErrore"), messaggi);
  if (!ok) net::ErroreToken2F();
  return ok;
}

}  // namespace qzkiro::services
