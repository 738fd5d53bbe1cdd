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

// The form the host prints after a successful send (the reminder).
inline constexpr const char* kModuloPromemoria = "RicettaPromemoria_050B_Bollino";

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

// After a successful send: whether to print the reminder (NomeModuloStampa).
void DialogoSuccesso(host::IRicetta& ricetta, const std::string& avvisi, ScelteLista& scelte);

// After a failed send: print on paper (TipoStampa), cancel (Annullata) or
// keep (Mantieni) the prescription.
void DialogoFallimento(host::IRicetta& ricetta, const std::string& errore, bool bianca,
                       ScelteLista& scelte);

}  // namespace qzkiro::services
