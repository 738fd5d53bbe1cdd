#pragma once

#include <string>

namespace qzkiro::services {

// The fixed-text requests of the cancel and view services, each inside the
// common envelope with the "[Asserzione]" placeholder in its WS-Security
// header. Children follow the order of the national kit's schemas (pinCode
// first); values are escaped.

// "AnnullaPrescrittoRichiesta": pinCode (empty), nre, cfMedico.
std::string RichiestaAnnulla(const std::string& nre, const std::string& cf_medico);
// "AnnullaPrescrittoRicettaBiancaRichiesta": pinCode, codicePaziente
// (already encrypted), nrbe, cfMedico.
std::string RichiestaAnnullaBianca(const std::string& pin, const std::string& codice_paziente,
                                   const std::string& nrbe, const std::string& cf_medico);
// "VisualizzaPrescrittoRichiesta": pinCode (empty), nre, cfMedico.
std::string RichiestaVisualizza(const std::string& nre, const std::string& cf_medico);

// The envelope of a fixed-text request: `corpo` in the Body, its prefix
// declared on the envelope.
std::string BustaTesto(const std::string& prefisso, const std::string& ns,
                       const std::string& corpo);
// "<nome>valore</nome>" with the value escaped.
std::string ElementoTesto(const std::string& nome, const std::string& valore);

}  // namespace qzkiro::services
