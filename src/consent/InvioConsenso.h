#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "cda/DocumentoConsenso.h"
#include "consent/frmConsensoFSE.h"
#include "xds/Consensi.h"

namespace qzkiro::consent {

inline constexpr std::string_view kNessunaModifica = "Nessuna modifica apportata";

// Fills the choices, the replaced ids, the contacts, the guardians and the
// lapse for age of a submission from the form; the GP and the patient are
// the caller's. A kind goes into the submission when it has a choice and
// either that choice differs from the one loaded or the contacts or
// guardians changed (they travel in every document, so all the kinds chosen
// are sent again), or the guardians' consent lapsed (a renewal); a kind sent
// replaces the document in force of its kind. Returns "" when there is
// something to send, kNessunaModifica otherwise.
std::string CompilaConsenso(const frmConsensoFSE& form, const xds::ConsensiInVigore& in_vigore,
                            cda::DatiConsenso& consenso);

// What the repository answered to a submission.
struct EsitoInvio {
  bool riuscito = false;
  // The result dialog's lines: one per kind sent, "Revocato " before a
  // withdrawn one.
  std::vector<std::string> righe;
  // The message of a failure.
  std::string messaggio;
};

// Reads the RegistryResponse (bare or in a SOAP envelope) of a submission
// of `inviato`. Failure texts: "L'invio del consenso ha dato esito negativo"
// + CR LF + code ":" text for each error (a SOAP fault's code and reason, or
// the status when no error is listed); "Il servizio ha restituito una
// risposta vuota" for an empty answer.
EsitoInvio LeggiEsitoInvio(std::string_view risposta, const cda::DatiConsenso& inviato);

}  // namespace qzkiro::consent
