// Cancellation of red and white prescriptions.

#include "core/Contesto.h"
#include "net/SecondoFattore.h"
#include "services/ricette/ClienteDem.h"
#include "services/ricette/InvioRicetta.h"
#include "services/ricette/ProprietaRicetta.h"
#include "services/ricette/RichiesteTesto.h"
#include "util/clsXML.h"

namespace qzkiro::services {

namespace {

constexpr const char* kPrefisso = "Annullamento Prescrizione: ";

// The outcome of a cancellation's receipt: success, warning or error. An
// error that the service does not call blocking ("Bloccante"), also one
// without any tipoErrore, is a warning: the prescription is cancelled.
bool EsitoAnnullamento(const std::string& codice, const std::string& errore_codice,
                       const std::string& esito, const std::string& tipo, bool messaggi) {
  auto& c = core::Ctx();
  if (codice == "0000" || errore_codice == "5005" || errore_codice == "1120") return true;
  const std::string testo = errore_codice.empty() ? esito : errore_codice + " - " + esito;
  // A receipt with neither outcome nor error says nothing: not a cancellation.
  if (!testo.empty() && tipo != "Bloccante") {
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
  const EsitoDem esito = InviaDem(dem::kAnnulla, RichiestaAnnulla(nre, CfUtente()), *asserzione);
  if (!esito.inviata) return Errore(esito.errore);
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

namespace {

// One white cancellation with the second-factor token `token`.
bool AnnullaBiancaConToken(host::IRicetta& ricetta, const std::string& nrbe,
                           const std::string& token, bool messaggi) {
  if (token.empty() && net::Richiesto2F()) {
    return Errore("Eliminazione non possibile senza autenticazione a due fattori");
  }
  auto asserzione = AsserzioneUtente(dem::kAnnullaBianca, token);
  if (!asserzione) return false;
  const std::string busta =
      RichiestaAnnullaBianca(Testo(ricetta, "pinNrBe"),
                             CifraFse(Testo(ricetta, "PazienteCodiceFiscale")), nrbe, CfUtente());
  const EsitoDem esito = InviaDem(dem::kAnnullaBianca, busta, *asserzione);
  if (!esito.inviata) return Errore(esito.errore);
  if (esito.risposta.empty()) return Errore("Il servizio ha restituito una risposta vuota");
  util::clsXML xml;
  if (!xml.LoadXML(esito.risposta)) return Errore("Risposta del server non corretta");
  const std::string base = "Body/AnnullaPrescrittoRicettaBiancaRicevuta/";
  auto r = xml.rootNode();
  return EsitoAnnullamento(xml.GetTextNode(r, base + "codEsitoAnnullamento"),
                           xml.GetTextNode(r, base + "erroreRicetta/codEsito"),
                           xml.GetTextNode(r, base + "erroreRicetta/esito"),
                           xml.GetTextNode(r, base + "erroreRicetta/tipoErrore"), messaggi);
}

}  // namespace

// The token held by the host is used as it is; one is asked only when none is
// held, and a token the service refuses as expired is replaced once.
bool AnnullaPrescrizioneBianca(host::IRicetta& ricetta, bool messaggi) {
  const std::string nrbe = Testo(ricetta, "NRBE");
  if (nrbe.empty()) return true;
  return net::ConToken2F([&](const std::string& token) {
    return AnnullaBiancaConToken(ricetta, nrbe, token, messaggi);
  });
}

}  // namespace qzkiro::services
