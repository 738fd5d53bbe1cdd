#pragma once

#include <string>

#include "cda/DocumentoConsenso.h"
#include "net/clsSOAP.h"
#include "util/DataOra.h"
#include "xds/ProvideAndRegister.h"
#include "xds/RichiestaXop.h"

namespace qzkiro::consent {

// What every publication to the regional repository says of its GP and its
// patient, and how its request reaches the transport.

xds::AutoreInvio AutoreDi(const cda::MedicoConsenso& medico);
// The patient with the birth state from the ISTAT tables and the contacts given.
xds::PazienteInvio PazienteDi(const cda::PazienteConsenso& paziente, const std::string& email,
                              const std::string& telefono, const cda::TabelleIstat& tabelle);
// The add-on's row search of its local tables, valid dates judged at `oggi`.
cda::CercaRiga RicercaTabelle(const util::DataOra& oggi);
// The multipart request as the SOAP client sends a prepared request.
net::RichiestaPreparata Preparata(const xds::RichiestaHttpXop& xop);

}  // namespace qzkiro::consent
