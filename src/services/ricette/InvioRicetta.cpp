#include "services/ricette/InvioRicetta.h"

#include <optional>

#include "core/Contesto.h"
#include "core/modLog.h"
#include "net/EsitoScambio.h"
#include "services/ricette/ClienteDem.h"
#include "services/ricette/ProprietaRicetta.h"
#include "services/ricette/RichiestaRicetta.h"

namespace qzkiro::services {

namespace {

// One red send: the request, the assertion and the two recoveries (the
// appropriateness confirmation and the expired assertion).
class InvioRossa {
 public:
  InvioRossa(host::IRicetta& ricetta, host::IMedico* medico, ScelteLista& scelte)
      : ricetta_(ricetta), medico_(medico), scelte_(scelte) {}

  bool Esegui();

 private:
  bool Interattiva() const { return medico_ != nullptr; }
  void Prepara();
  std::string Endpoint() const;
  // A new NRE after an expired assertion; false with the reason in `errore`.
  bool NuovoNre(std::string& errore);
  bool Successo(const RicevutaRossa& ricevuta);
  bool Fallimento(const std::string& errore);

  host::IRicetta& ricetta_;
  host::IMedico* medico_;
  ScelteLista& scelte_;
  std::shared_ptr<clsItemAsserzione> asserzione_;
  std::unique_ptr<RichiestaRossa> richiesta_;
  std::optional<std::string> disp_reg_confermato_;
  bool nre_dall_host_ = false;
};

ContestoRichiesta ContestoDaHost() {
  auto& c = core::Ctx();
  ContestoRichiesta ctx;
  ctx.codice_struttura = c.settings.codice_struttura;
  if (c.app) {
    ctx.versione_esami = c.app->Archivio("Esami")->Versione();
    ctx.versione_visite = c.app->Archivio("Visite")->Versione();
  }
  ctx.cifra = CifraFse;
  return ctx;
}

void InvioRossa::Prepara() {
  richiesta_ = CreaRichiestaRossa(ricetta_, ContestoDaHost());
  if (disp_reg_confermato_) richiesta_->ImpostaDispReg(*disp_reg_confermato_);
}

std::string InvioRossa::Endpoint() const {
  const auto& s = core::Ctx().settings;
  if (!s.fse_attivo) return s.Endpoint("invioprescritto");
  return s.Endpoint(HaTagErmete(ricetta_) ? "invioprescrittoermete" : "invioprescrittoeco");
}

bool InvioRossa::Esegui() {
  if (Intero(ricetta_, "Tipo") > 4 || Flag(ricetta_, "FlagRic")) {
    SegnaNonInviabile(ricetta_);
    return true;
  }
  nre_dall_host_ = !Testo(ricetta_, "NRE").empty();
  asserzione_ = AsserzioneRicetta(dem::kInvio, ricetta_);
  if (!asserzione_) {
    FallimentoAsserzione(ricetta_, medico_, false, scelte_);
    return false;
  }
  Prepara();
  bool rinnovata = false;
  for (;;) {
    const EsitoDem esito =
        InviaDem(dem::kInvio, richiesta_->Testo(), *asserzione_, Endpoint(), false);
    if (!esito.inviata) {
      if (!esito.riprova) return Fallimento(esito.errore);
      if (rinnovata || !Interattiva()) return Fallimento("Asserzione non più valida");
      rinnovata = true;
      core::modLog::Log("Reinvio ricetta per Asserzione scaduta");
      std::string errore;
      if (!NuovoNre(errore)) return Fallimento(errore);
      Prepara();
      continue;
    }
    RicevutaRossa ricevuta;
    std::string errore;
    if (!LeggiRicevutaRossa(esito.risposta, ricevuta, errore)) {
      ricetta_.Imposta("NRE", "");
      return Fallimento(errore);
    }
    if (ricevuta.codice == "0000") return Successo(ricevuta);
    if (ricevuta.codice == "1111") {
      return Fallimento(net::MessaggioEsito(net::EsitoScambio::kTempoScadutoServizio));
    }
    if (ricevuta.Appropriatezza() && !disp_reg_confermato_) {
      auto conferma = Interattiva()
                          ? ConfermaAppropriatezza(ricevuta.Messaggi(), HaTagErmete(ricetta_))
                          : std::optional<std::string>("9");
      if (!conferma) {
        ricetta_.Imposta("Annullata", true);
        SegnaFallimento(ricetta_, ricevuta.Messaggi());
        return false;
      }
      ricetta_.Imposta("Extra", *conferma);
      disp_reg_confermato_ = conferma;
      richiesta_->ImpostaDispReg(*conferma);
      continue;
    }
    const std::string messaggi = ricevuta.Messaggi();
    return Fallimento(messaggi.empty() ? "Esito dell'invio non previsto: " + ricevuta.codice
                                       : messaggi);
  }
}

bool InvioRossa::NuovoNre(std::string& errore) {
  // The old number may be unknown to the service (never stored): that does
  // not stop the new send, and is no failure of it: the last error stays as it was.
  const std::string errore_prima = core::Ctx().last_error;
  if (!Testo(ricetta_, "NRE").empty() && !AnnullaPrescrizione(ricetta_, false)) {
    core::modLog::Log("Annullamento NRE prima del reinvio", core::Ctx().last_error, true);
    core::Ctx().last_error = errore_prima;
  }
  ricetta_.Imposta("NRE", "");
  if (nre_dall_host_ && !medico_->RichiediNRE(ricetta_)) {
    errore = "Nessun NRE disponibile per il reinvio della ricetta";
    return false;
  }
  return true;
}

bool InvioRossa::Successo(const RicevutaRossa& ricevuta) {
  if (Testo(ricetta_, "NRE").empty()) ricetta_.Imposta("NRE", ricevuta.nre);
  ricetta_.Imposta("autenticazione", ricevuta.autenticazione);
  ricetta_.Imposta("StatoInvio", stato_invio::kInviata);
  ricetta_.Imposta("RicevutaInvio", ricevuta.autenticazione);
  ricetta_.Imposta("ErroreInvio", "");
  const std::string avvisi = AvvisiInvio(ricetta_, ricevuta.errori);
  auto& c = core::Ctx();
  if (!avvisi.empty()) core::modLog::Log("Avvisi invio ricetta " + Testo(ricetta_, "NRE"), avvisi);
  if (!Interattiva()) return true;
  if (c.settings.no_stampa_dema || scelte_.non_stampare_tutte) {
    ricetta_.Imposta("NomeModuloStampa", "");
    if (!avvisi.empty() && c.ui) {
      c.ui->MsgBox("Ricetta inviata correttamente ma sono presenti degli avvisi:\n" + avvisi,
                   core::stile::kInformazione, "Curalis");
    }
    return true;
  }
  DialogoSuccesso(ricetta_, avvisi, scelte_);
  return true;
}

bool InvioRossa::Fallimento(const std::string& errore) {
  SegnaFallimento(ricetta_, errore);
  if (Interattiva()) DialogoFallimento(ricetta_, errore, false, scelte_);
  return false;
}

}  // namespace

void SegnaFallimento(host::IRicetta& ricetta, const std::string& errore) {
  ricetta.Imposta("StatoInvio", stato_invio::kInvioFallito);
  ricetta.Imposta("ErroreInvio", errore);
  core::Ctx().last_error = errore;
  core::modLog::Log("Invio ricetta non riuscito", errore, true);
}

void SegnaNonInviabile(host::IRicetta& ricetta, const std::string& motivo) {
  ricetta.Imposta("StatoInvio", stato_invio::kNonInviabile);
  ricetta.Imposta("ErroreInvio", motivo);
}

void FallimentoAsserzione(host::IRicetta& ricetta, host::IMedico* medico, bool bianca,
                          ScelteLista& scelte) {
  const std::string errore = core::Ctx().last_error;
  SegnaFallimento(ricetta, errore.empty() ? kErroreAsserzione : errore);
  core::Ctx().last_error = errore;
  if (medico) DialogoFallimento(ricetta, kErroreAsserzione, bianca, scelte, errore);
}

std::string AvvisiInvio(host::IRicetta& ricetta, const std::vector<ErroreRicetta>& errori) {
  auto& c = core::Ctx();
  const std::string utente = c.app ? c.app->Utente().CodiceFiscale() : std::string();
  const bool medico_del_paziente = (utente == Testo(ricetta, "MedicoCodiceFiscale") ||
                                    utente == Testo(ricetta, "MedicoTitCodiceFiscale")) &&
                                   Flag(ricetta, "PazienteProprio");
  std::string avvisi;
  for (const auto& e : errori) {
    if (e.codice == "0000") continue;
    if (e.codice == "7237") {
      ricetta.Imposta("SoloStampa", true);
      continue;
    }
    if (e.codice == "1169" && !medico_del_paziente) continue;
    avvisi += (avvisi.empty() ? "" : "\n") + e.codice + " - " + e.esito;
  }
  return avvisi;
}

bool InviaPrescrizione(host::IRicetta& ricetta, host::IMedico* medico, ScelteLista& scelte) {
  return InvioRossa(ricetta, medico, scelte).Esegui();
}

}  // namespace qzkiro::services
