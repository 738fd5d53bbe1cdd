#pragma once

#include <string>
#include <vector>

#include "qzkiro/host/Collection.h"
#include "qzkiro/host/Ricetta.h"
#include "services/ricette/DialoghiRicetta.h"
#include "services/ricette/RicevutaRicetta.h"

namespace qzkiro::services {

// Sends a red (national health service) prescription and writes the outcome
// into it: StatoInvio always, NRE/autenticazione/RicevutaInvio on success,
// ErroreInvio on failure. `medico` is the prescribing doctor of an
// interactive send (dialogs, new NRE after an expired assertion); null in
// batch mode, where nothing is shown. False on failure, with the add-on's
// last error.
bool InviaPrescrizione(host::IRicetta& ricetta, host::IMedico* medico, ScelteLista& scelte);

// The same for a white prescription of drugs (NRBE, pinNrBe).
bool InviaPrescrizioneBianca(host::IRicetta& ricetta, host::IMedico* medico, ScelteLista& scelte);

// Cancels the prescription's NRE at the service; true when there is none, or
// the service cancelled it or had already done so. `messaggi`: warnings are
// shown to the user.
bool AnnullaPrescrizione(host::IRicetta& ricetta, bool messaggi);
// Cancels a white prescription (NRBE) with the second factor.
bool AnnullaPrescrizioneBianca(host::IRicetta& ricetta, bool messaggi);

// Views a red prescription at the service: its rows (group "Ricetta",
// label, value) are added to `righe`.
bool VisualizzaPrescrizione(const std::string& nre, host::Collection& righe);

// Sends each prescription of a list (red, or white when the host allows it),
// stopping when `annulla` becomes true. A failure of one prescription, also
// one the host raises, is recorded on it (StatoInvio 2, ErroreInvio) and the
// list goes on. False when any send failed.
bool InviaListaRicette(const host::Collection& lista, host::IMedico* medico,
                       const host::Variant& annulla);
// Sends again the prescriptions of the last day that the host saved in its
// workspace without sending them; each record gets its outcome.
bool InviaRicetteSospese();

// Records a failed send in the prescription and the add-on's last error.
void SegnaFallimento(host::IRicetta& ricetta, const std::string& errore);
// Records a prescription that is not to be sent (StatoInvio 3) with its
// reason; without one the text of an earlier attempt is cleared.
void SegnaNonInviabile(host::IRicetta& ricetta, const std::string& motivo = {});

// What the failure dialog says when no assertion could be had.
inline constexpr const char* kErroreAsserzione = "Errore nella richiesta dell'asserzione";
// No assertion for a send: the add-on's last error stays the identity
// service's own; the prescription records it (kErroreAsserzione when that
// service gave no text, as when the user closed the credentials dialog) and
// an interactive send shows the failure dialog.
void FallimentoAsserzione(host::IRicetta& ricetta, host::IMedico* medico, bool bianca,
                          ScelteLista& scelte);

// Warnings of a successful send that the user must read, after the rules of
// codes 7237 (print only) and 1169 (patient of another doctor).
std::string AvvisiInvio(host::IRicetta& ricetta, const std::vector<ErroreRicetta>& errori);

}  // namespace qzkiro::services
