#pragma once

#include <optional>
#include <string>

#include "qzkiro/host/Ricetta.h"

namespace qzkiro::services {

// Values of the prescription's TipoStampa that the dialogs choose.
namespace tipo_stampa {
inline constexpr int kCartaBianca = 1;
inline constexpr int kRicettaRossa = 2;
inline constexpr int kModuloRegionale = 3;
}  // namespace tipo_stampa

// The forms the host prints after a successful send (the reminder): the red
// prescription's, and the white one's, which prints the reminder the service
// returned (FilePromemoria).
inline constexpr const char* kModuloPromemoria = "RicettaPromemoria_050B_Bollino";
inline constexpr const char* kModuloPromemoriaBianca = "RicettaBiancaPromemoria";

// Choices made "per TUTTE" (for all) in a list send: they answer the same
// dialog for the prescriptions that follow.
struct ScelteLista {
  bool non_stampare_tutte = false;
  bool carta_tutte = false;
};

// The appropriateness warning: the user confirms the send ("9", or "9_1" ..
// "9_4" with the reason when a line is coded in the regional catalogue) or
// closes the dialog (nullopt).
std::optional<std::string> ConfermaAppropriatezza(const std::string& messaggi, bool ermete);

// After a successful send: whether to print the reminder (NomeModuloStampa
// = `modulo`, else "").
void DialogoSuccesso(host::IRicetta& ricetta, const std::string& avvisi, ScelteLista& scelte,
                     const char* modulo = kModuloPromemoria);

// After a failed send: print on paper (TipoStampa), cancel (Annullata) or
// keep (Mantieni) the prescription. `errore` is the main instruction,
// `dettaglio` the content under it.
void DialogoFallimento(host::IRicetta& ricetta, const std::string& errore, bool bianca,
                       ScelteLista& scelte, const std::string& dettaglio = {});

}  // namespace qzkiro::services
