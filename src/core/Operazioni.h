#pragma once

// The routines that Plugin routes operations to. Each is implemented by the
// module named in its comment; core only declares them, so it never depends on
// the modules above it. Until a module exists, its routines are listed in
// QZKIRO_OPERAZIONI_NON_IMPLEMENTATE: they answer the empty result with the
// last error "Servizio non implementato". A module that implements a routine
// moves its line to QZKIRO_OPERAZIONI_IMPLEMENTATE and defines it.
//
// X(result, name, parameter list)

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/ServizioAsserzione.h"
#include "qzkiro/host/Collection.h"
#include "qzkiro/host/Variant.h"

namespace qzkiro::op {
using host::Collection;
using host::Variant;
}  // namespace qzkiro::op

#define QZKIRO_OPERAZIONI_IMPLEMENTATE(X)                                             \
  /* net: second factor */                                                            \
  X(bool, InviaIDSessione, ())                                                        \
  X(bool, ImpostaToken, (Variant & Params))                                           \
  /* services: electronic prescriptions */                                            \
  X(bool, VisualizzaPrescrizione,                                                     \
    (Variant & PinCode, Variant & ID, Variant & NRE, Variant & Response))             \
  X(bool, InviaRicetteSospese, (Variant & Template))                                  \
  X(bool, InviaListaRicette,                                                          \
    (Variant & ListaRicette, Variant & Medico, Variant & Template, Variant & Cancel)) \
  X(bool, AnnullaPrescrizione, (Variant & Ricetta, Variant & Template))               \
  X(bool, AnnullaPrescrizioneBianca, (Variant & Ricetta, Variant & Template))         \
  /* hl7: regional HL7 services */                                                    \
  X(bool, InterrogaAnagrafica, (Collection & Param, Variant & Template))              \
  X(bool, InterrogaAnagraficaHL7, (Collection & Param, Variant & Template))           \
  X(bool, ElencoAssistitiHL7, (Collection & Param, Variant & Template))               \
  X(bool, RefertiSARR, (Collection & Param, Variant & Template))                      \
  X(bool, RefertiSARRePS, (Collection & Param, Variant & Template))                   \
  X(bool, RicoveriSARIR, (Collection & Param, Variant & Template))                    \
  X(bool, InviaSAASN, (Variant & Template))                                           \
  X(bool, ApriNotifica, (const std::string& Servizio, Variant& Notifica, Variant& Template))

#define QZKIRO_OPERAZIONI_NON_IMPLEMENTATE(X)                                                      \
  /* net: identity provider password and second factor */                                          \
  X(bool, ModificaPassword, (Variant & Template))                                                  \
  /* consent: FSE consent workflow and patient summary */                                          \
  X(bool, VerificaConsensoFSE, (Variant & Paziente, Variant & Template, Variant & Check))          \
  X(bool, PubblicaProfiloSanitario, (Variant & Paziente, Variant & Template, Variant & Ricevuta))  \
  /* services: electronic prescriptions */                                                         \
  X(bool, OperazioneMEF, (Variant & Template, Variant & myMEF))                                    \
  /* services: FSE registry queries and retrieval */                                               \
  X(bool, QueryPaziente, (Collection & Param, Variant & Template))                                 \
  X(bool, ElencoDocumentiFSE, (Collection & Param, Variant & Template))                            \
  X(bool, DocumentoProcessoRicetta, (Variant & Ricetta, Variant & Ricevuta))                       \
  X(bool, AziendaAssistenza, (Variant & Paziente, Collection & Param, Variant & Template))         \
  X(bool, RecuperaDocumentoFSE,                                                                    \
    (Variant & Template, Variant & Lista, const std::string& Documento,                            \
     const std::string& Repository, const std::string& Descrizione))                               \
  /* services: further national and regional services */                                           \
  X(bool, ElencoAssistitiFHIR, (Collection & Param, Variant & Template))                           \
  X(bool, CercaLottiVaccino, (Variant & CodiceAntigene, Variant & CodiceAIC, Variant & Lista))     \
  X(bool, AllineaPazientiFSE, (Collection & Param, Variant & Template))                            \
  X(bool, FlussoIVAQ,                                                                              \
    (Variant & Grid1, const std::string& XML, Variant& Template, Variant& Ricevuta))               \
  X(bool, CaricaIndicazioniErmete, ())                                                             \
  X(bool, ApriPortaleOperatore, ())                                                                \
  /* flows: care-plan flow over FHIR */                                                            \
  X(bool, InvioPazienteACN,                                                                        \
    (Collection & ListaRecords, Variant & itmFlusso, Variant & DallaData, Variant & AllaData,      \
     Variant & Cancel, Variant & DallaDataPC, Variant & AllaDataPC, Variant & RisorseEliminate))   \
  X(bool, InvioPazienteACNEsteso,                                                                  \
    (Collection & ListaRecords, Variant & itmFlusso, Variant & DallaData, Variant & AllaData,      \
     Variant & Cancel, Variant & DallaDataPC, Variant & AllaDataPC, Variant & RisorseEliminate))   \
  X(bool, RecuperaACN, (Variant & itmFlusso, Variant & itmFlussoRec))                              \
  X(bool, RicercaACN,                                                                              \
    (Collection & ListaFlussi, Variant & CFPaziente, Variant & DallaData, Variant & AllaData))     \
  X(bool, RecordsLocaliACN,                                                                        \
    (Collection & Records, Variant & CodiceFiscale, Variant & DallaData, Variant & AllaData,       \
     Variant & DallaDataPC, Variant & AllaDataPC))                                                 \
  X(bool, EliminaACN, (Variant & itmFlusso, Variant & RisorseEliminate))                           \
  X(bool, VaccinazioneACN,                                                                         \
    (Variant & Template, Variant & myItm, Variant & myItmStorico, Variant & Ricevuta,              \
     bool Finale))                                                                                 \
  /* flows: indicator flow over FHIR */                                                            \
  X(bool, IndicatoriPA,                                                                            \
    (Collection & Lista, Variant & DallaData, Variant & AllaData, bool Elimina))                   \
  X(bool, IndicatoriPAEsteso,                                                                      \
    (Collection & Lista, Variant & DallaData, Variant & AllaData, bool Elimina))                   \
  X(bool, RecuperaIndicatorePA, (Variant & itmFlusso, Variant & itmFlussoRec))                     \
  X(bool, RicercaIndicatoriPA,                                                                     \
    (Collection & ListaFlussi, Variant & Codice, Variant & DallaData, Variant & AllaData))         \
  /* flows: local-health-unit flows and PDTA indicators */                                         \
  X(bool, FlussoPPIP,                                                                              \
    (Variant & Grid, Variant & DallaData, Variant & AllaData, Variant & Template))                 \
  X(bool, VerificaPPIP,                                                                            \
    (Variant & DallaData, Variant & AllaData, Variant & SoloPPIPCodificate, Variant & Lista))      \
  X(bool, RichiestaPrelievo, (Variant & Ricetta, Variant & Ricevuta))                              \
  X(bool, InviaPDTA,                                                                               \
    (Variant & Grid1, const std::string& XML, Variant& Template, Variant& Ricevuta))               \
  X(std::string, CaricaPDTA, (Collection & Param))                                                 \
  X(std::int32_t, RefreshGridPDTA, (Variant & Grid1, Variant & ProgressBar1, Variant & Dati))      \
  X(bool, InvioPDTA, (Collection & Param, Variant & Template, Variant & Grid1, Variant & Dati))    \
  X(std::string, CaricaPDTAStili, (Collection & Param))                                            \
  X(std::int32_t, RefreshGridPDTAStili, (Variant & Grid1, Variant & ProgressBar1, Variant & Dati)) \
  X(bool, SalvaPDTAStili, (Collection & Param, Variant & Template, Variant & Grid1, Variant & Dati))

#define QZKIRO_OPERAZIONI(X)        \
  QZKIRO_OPERAZIONI_IMPLEMENTATE(X) \
  QZKIRO_OPERAZIONI_NON_IMPLEMENTATE(X)

namespace qzkiro::op {
// The process-wide assertion service, created at class initialisation.
std::shared_ptr<core::ServizioAsserzione> CreaServizioAsserzione();

#define QZKIRO_DICHIARA(result, name, params) result name params;
QZKIRO_OPERAZIONI(QZKIRO_DICHIARA)
#undef QZKIRO_DICHIARA
}  // namespace qzkiro::op

namespace qzkiro::core {

using host::Collection;
using host::Variant;

// The routing table of Plugin: one callable per routine, each starting as the
// routine itself. Tests replace entries to see where an operation goes.
struct Rotte {
#define QZKIRO_ROTTA(result, name, params) std::function<result params> name = op::name;
  QZKIRO_OPERAZIONI(QZKIRO_ROTTA)
#undef QZKIRO_ROTTA
};

// The text left in the last error by a routine that does not exist yet.
inline constexpr const char* kServizioNonImplementato = "Servizio non implementato";

}  // namespace qzkiro::core
