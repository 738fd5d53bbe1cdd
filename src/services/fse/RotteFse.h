#pragma once

#include <functional>
#include <vector>

#include "core/Operazioni.h"
#include "qzkiro/host/Archivio.h"
#include "qzkiro/host/Input.h"
#include "services/fse/ClienteFse.h"
#include "xds/QueryRegistro.h"
#include "xds/RispostaRegistro.h"

namespace qzkiro::op {
QZKIRO_OPERAZIONI_FSE(QZKIRO_DICHIARA_OPERAZIONE)
// The patient summary's publication goes through the registry and repository too.
bool PubblicaProfiloSanitario(Variant& Paziente, Variant& Template, Variant& Ricevuta);
}  // namespace qzkiro::op

namespace qzkiro::fse {

// Puts the regional health record's routines into the routing table.
void RegistraRotte(core::Rotte& rotte);

// The silent check of a patient's consents (QZ01015), with its own pause
// after a server failure.
std::function<bool(host::Variant&, host::Variant&, host::Variant&)> VerificaConsensoFSE();

// Asks the registry `query` about the patient with the service's assertion
// (context by the patient); false with the last error on any failure.
bool QueryRegistro(const ServizioFse& servizio, host::IPaziente& paziente,
                   const xds::QueryRegistro& query, xds::RispostaRegistro& risposta);

// One partial report per listed entry for the patient's record `paziente`,
// with the content callback and the row's parameters; the types the list
// leaves out are skipped.
void AggiungiRighe(const std::vector<xds::VoceRegistro>& voci, const host::Variant& paziente,
                   host::IInput& risultato);

// The workflowInstanceId of a process document saved as CDA; "" when absent.
std::string WorkflowInstanceId(const std::string& file_cda);

// Finds the process document of the prescription `nre` for the patient,
// retrieves it and reads its workflowInstanceId; false with the last error
// ("Codice MPI del paziente non trovato", "Documento non trovato nel
// Registry", "Documento non trovato nel Repository", or the services').
bool DocumentoProcessoCollegato(host::IPaziente& paziente, const std::string& nre,
                                std::string& workflow);

}  // namespace qzkiro::fse
