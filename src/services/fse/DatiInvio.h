#pragma once

#include <functional>
#include <string>

#include "cda/DocumentoConsenso.h"
#include "core/Orologio.h"
#include "qzkiro/clsItemAsserzione.h"
#include "qzkiro/host/Archivio.h"
#include "qzkiro/host/Utente.h"
#include "net/clsSOAP.h"

namespace qzkiro::fse {

// What a publication to the regional repository takes from the host.

// The local time with its offset from UTC: "yyyymmddhhnnss+hhmm".
std::string MarcaTemporale(const core::Orologio& orologio);
// The GP: the host's user (the unit code split into region and unit).
cda::MedicoConsenso MedicoDi(host::IUtente& utente);
// The patient as the host knows them, with the regional identifier.
cda::PazienteConsenso PazienteDi(host::IPaziente& paziente, const std::string& mpi);

// Posts a publication request to the repository ("client/repositoryreg")
// with the settings' certificate and proxy, time-outs of 60 and 30 seconds
// and the log label `servizio`; `prepara` builds it for the assertion of each
// attempt (a renewed assertion means a rebuilt request). False with the
// transport's error in `errore`; `risposta` holds the answer otherwise (a
// SOAP fault's too).
bool InviaPubblicazione(const std::function<net::RichiestaPreparata(const clsItemAsserzione&)>& prepara,
                        clsItemAsserzione& asserzione, const std::string& servizio,
                        std::string& risposta, std::string& errore);

}  // namespace qzkiro::fse
