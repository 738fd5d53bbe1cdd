#include "services/ricette/DialoghiRicetta.h"

#include "core/Contesto.h"
#include "services/ricette/ProprietaRicetta.h"
#include "util/Testo.h"

namespace qzkiro::services {

namespace {

int Mostra(const core::DialogoAttivita& dialogo) {
  auto& ui = core::Ctx().ui;
  return ui ? ui->TaskDialog(dialogo) : core::risposta::kAnnulla;
}

}  // namespace

std::optional<std::string> ConfermaAppropriatezza(const std::string& messaggi, bool ermete) {
  core::DialogoAttivita d;
  d.titolo = "KIRO - Appropriatezza prescrittiva";
  d.icona = 5;
  d.istruzione = "Attenzione";
  d.contenuto = messaggi;
  d.contenuto = util::Replace(d.contenuto, ". ", ".\n");
  d.contenuto = util::Replace(d.contenuto, ": ", ":\n");
  d.scorrimento = true;
  if (ermete) {
    const char* motivi[] = {"Per situazione clinica non contemplata nell'IP",
                            "Per prescrizione specialistica", "Per non condivisione",
                            "Per altri motivi"};
    for (int i = 0; i < 4; ++i) {
      d.pulsanti.emplace_back(101 + i, std::string("Confermo l'invio\n") + motivi[i]);
    }
    d.piede = "<a href=\"note\">Note aggiuntive</a>";
  } else {
    d.pulsanti.emplace_back(100, "La prescrizione verrà inviata comunque al SAR");
  }
  const int scelta = Mostra(d);
  if (scelta == 100) return "9";
  if (scelta >= 101 && scelta <= 104) return "9_" + std::to_string(scelta - 100);
  return std::nullopt;
}

void DialogoSuccesso(host::IRicetta& ricetta, const std::string& avvisi, ScelteLista& scelte,
                     const char* modulo) {
  core::DialogoAttivita d;
  d.titolo = "Ricetta Dematerializzata";
  d.istruzione = "Prescrizione inviata con successo";
  if (!avvisi.empty()) d.contenuto = "Avvisi: " + avvisi;
  if (Flag(ricetta, "PazienteConsensoFSE")) {
    d.contenuto += std::string(d.contenuto.empty() ? "" : "\n") +
                   "Il Paziente ha dato il consenso alla consultazione del FSEr.";
  }
  d.domanda = "Come si desidera procedere?";
  d.pulsanti = {{100, "Non stampare il promemoria"},
                {101, "Non stampare il promemoria per TUTTE"},
                {102, "Stampa promemoria"}};
  d.piede = "<a href=\"ricetta\">Visualizza la ricetta</a>";
  const int scelta = Mostra(d);
  if (scelta == 101) scelte.non_stampare_tutte = true;
  ricetta.Imposta("NomeModuloStampa", scelta == 102 ? modulo : "");
}

void DialogoFallimento(host::IRicetta& ricetta, const std::string& errore, bool bianca,
                       ScelteLista& scelte, const std::string& dettaglio) {
  const int carta = bianca ? tipo_stampa::kCartaBianca : tipo_stampa::kRicettaRossa;
  if (scelte.carta_tutte) {
    ricetta.Imposta("TipoStampa", carta);
    return;
  }
  core::DialogoAttivita d;
  d.titolo = "Invio Ricetta Dematerializzata";
  d.istruzione = errore;
  d.contenuto = dettaglio;
  d.domanda = "Come si desidera procedere?";
  d.pulsanti = {{100, bianca ? "Stampa su carta" : "Stampa su ricetta rossa"},
                {101, bianca ? "Stampa TUTTE su carta" : "Stampa TUTTE su ricetta rossa"},
                {102, "Annulla questa ricetta"},
                {103, "Mantieni la prescrizione"}};
  d.piede = "<a href=\"ricetta\">Visualizza la ricetta non spedita</a>";
  switch (Mostra(d)) {
    case 101:
      scelte.carta_tutte = true;
      [[fallthrough]];
    case 100:
      ricetta.Imposta("TipoStampa", carta);
      break;
    case 102:
      ricetta.Imposta("Annullata", true);
      break;
    default:
      ricetta.Imposta("Mantieni", true);
  }
}

}  // namespace qzkiro::services
