#pragma once

// The routines that Plugin routes operations to, grouped by the module that
// implements them. core only lists their signatures: every slot of `Rotte`
// starts as a stand-in that answers its empty result with the last error
// "Servizio non implementato", and each module fills the slots of its group
// when the composition root (the Plugin entry) registers it. core therefore
// never links the modules above it.
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

// net: identity provider password and second factor
#define QZKIRO_OPERAZIONI_NET(X)              \
  X(bool, InviaIDSessione, ())                \
  X(bool, ImpostaToken, (Variant & Params))   \
  X(bool, ModificaPassword, (Variant & Template))

// services/ricette: electronic prescriptions
#define QZKIRO_OPERAZIONI_RICETTE(X)                                                  \
  X(bool, VisualizzaPrescrizione,                                                     \
    (Variant & PinCode, Variant & ID, Variant & NRE, Variant & Response))             \
  X(bool, InviaRicetteSospese, (Variant & Template))                                  \
  X(bool, InviaListaRicette,                                                          \
    (Variant & ListaRicette, Variant & Medico, Variant & Template, Variant & Cancel)) \
  X(bool, AnnullaPrescrizione, (Variant & Ricetta, Variant & Template))               \
  X(bool, AnnullaPrescrizioneBianca, (Variant & Ricetta, Variant & Template))         \
  X(bool, OperazioneMEF, (Variant & Template, Variant & myMEF))

// services/regione: regional HL7 services
#define QZKIRO_OPERAZIONI_REGIONE(X)                                        \
  X(bool, InterrogaAnagrafica, (Collection & Param, Variant & Template))    \
  X(bool, InterrogaAnagraficaHL7, (Collection & Param, Variant & Template)) \
  X(bool, ElencoAssistitiHL7, (Collection & Param, Variant & Template))     \
  X(bool, RefertiSARR, (Collection & Param, Variant & Template))            \
  X(bool, RefertiSARRePS, (Collection & Param, Variant & Template))         \
  X(bool, RicoveriSARIR, (Collection & Param, Variant & Template))          \
  X(bool, InviaSAASN, (Variant & Template))                                 \
  X(bool, ApriNotifica, (const std::string& Servizio, Variant& Notifica, Variant& Template))

// consent: FSE consent workflow and patient summary
#define QZKIRO_OPERAZIONI_CONSENSO(X)                                                    \
  X(bool, VerificaConsensoFSE, (Variant & Paziente, Variant & Template, Variant & Check)) \
  X(bool, PubblicaProfiloSanitario, (Variant & Paziente, Variant & Template, Variant & Ricevuta))

// services/fse: FSE registry queries and retrieval
#define QZKIRO_OPERAZIONI_FSE(X)                                                           \
  X(bool, QueryPaziente, (Collection & Param, Variant & Template))                         \
  X(bool, ElencoDocumentiFSE, (Collection & Param, Variant & Template))                    \
  X(bool, DocumentoProcessoRicetta, (Variant & Ricetta, Variant & Ricevuta))               \
  X(bool, AziendaAssistenza, (Variant & Paziente, Collection & Param, Variant & Template)) \
  X(bool, RecuperaDocumentoFSE,                                                            \
    (Variant & Template, Variant & Lista, const std::string& Documento,                    \
     const std::string& Repository, const std::string& Descrizione))

// services: further national and regional services
#define QZKIRO_OPERAZIONI_SERVIZI(X)                                                           \
  X(bool, ElencoAssistitiFHIR, (Collection & Param, Variant & Template))                       \
  X(bool, CercaLottiVaccino, (Variant & CodiceAntigene, Variant & CodiceAIC, Variant & Lista)) \
  X(bool, AllineaPazientiFSE, (Collection & Param, Variant & Template))                        \
  X(bool, FlussoIVAQ,                                                                          \
    (Variant & Grid1, const std::string& XML, Variant& Template, Variant& Ricevuta))           \
  X(bool, CaricaIndicazioniErmete, ())                                                         \
  X(bool, ApriPortaleOperatore, ())

// flows: care-plan and indicator flows over FHIR
#define QZKIRO_OPERAZIONI_FHIR(X)                                                                \
  X(bool, InvioPazienteACN,                                                                      \
    (Collection & ListaRecords, Variant & itmFlusso, Variant & DallaData, Variant & AllaData,    \
     Variant & Cancel, Variant & DallaDataPC, Variant & AllaDataPC, Variant & RisorseEliminate)) \
  X(bool, InvioPazienteACNEsteso,                                                                \
    (Collection & ListaRecords, Variant & itmFlusso, Variant & DallaData, Variant & AllaData,    \
     Variant & Cancel, Variant & DallaDataPC, Variant & AllaDataPC, Variant & RisorseEliminate)) \
  X(bool, RecuperaACN, (Variant & itmFlusso, Variant & itmFlussoRec))                            \
  X(bool, RicercaACN,                                                                            \
    (Collection & ListaFlussi, Variant & CFPaziente, Variant & DallaData, Variant & AllaData))   \
  X(bool, RecordsLocaliACN,                                                                      \
    (Collection & Records, Variant & CodiceFiscale, Variant & DallaData, Variant & AllaData,     \
     Variant & DallaDataPC, Variant & AllaDataPC))                                               \
  X(bool, EliminaACN,                                                                            \
    (Collection & ListaRecords, Variant & itmFlusso, Variant & DallaData, Variant & AllaData,    \
     Variant & Cancel, Variant & DallaDataPC, Variant & AllaDataPC, Variant & RisorseEliminate)) \
  X(bool, VaccinazioneACN,                                                                       \
    (Variant & Template, Variant & myItm, Variant & myItmStorico, Variant & Ricevuta,            \
     bool Finale))                                                                               \
  X(bool, IndicatoriPA,                                                                          \
    (Collection & Lista, Variant & DallaData, Variant & AllaData, bool Elimina))                 \
  X(bool, IndicatoriPAEsteso,                                                                    \
    (Collection & Lista, Variant & DallaData, Variant & AllaData, bool Elimina))                 \
  X(bool, RecuperaIndicatorePA, (Variant & itmFlusso, Variant & itmFlussoRec))                   \
  X(bool, RicercaIndicatoriPA,                                                                   \
    (Collection & ListaFlussi, Variant & Codice, Variant & DallaData, Variant & AllaData))

// flows: local-health-unit flows and PDTA indicators
#define QZKIRO_OPERAZIONI_FLUSSI(X)                                                                \
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

#define QZKIRO_OPERAZIONI(X)     \
  QZKIRO_OPERAZIONI_NET(X)       \
  QZKIRO_OPERAZIONI_RICETTE(X)   \
  QZKIRO_OPERAZIONI_REGIONE(X)   \
  QZKIRO_OPERAZIONI_CONSENSO(X)  \
  QZKIRO_OPERAZIONI_FSE(X)       \
  QZKIRO_OPERAZIONI_SERVIZI(X)   \
  QZKIRO_OPERAZIONI_FHIR(X)      \
  QZKIRO_OPERAZIONI_FLUSSI(X)

// Declares routines in namespace qzkiro::op, for the module that defines
// and registers them: QZKIRO_OPERAZIONI_RICETTE(QZKIRO_DICHIARA_OPERAZIONE).
#define QZKIRO_DICHIARA_OPERAZIONE(result, name, params) result name params;

namespace qzkiro::core {

using host::Collection;
using host::Variant;

// The text left in the last error by a routine that does not exist yet.
inline constexpr const char* kServizioNonImplementato = "Servizio non implementato";

// Leaves kServizioNonImplementato in the process's last error.
void SegnaNonImplementato();

// The stand-in of a routine that no module has registered.
template <class Firma>
struct NonImplementato;
template <class Risultato, class... Argomenti>
struct NonImplementato<Risultato(Argomenti...)> {
  Risultato operator()(Argomenti...) const {
    SegnaNonImplementato();
    return Risultato{};
  }
};

// The routing table of Plugin: one callable per routine, each starting as the
// not-implemented stand-in until its module registers it. Tests replace
// entries to see where an operation goes.
struct Rotte {
#define QZKIRO_ROTTA(result, name, params) \
  std::function<result params> name = NonImplementato<result params>{};
  QZKIRO_OPERAZIONI(QZKIRO_ROTTA)
#undef QZKIRO_ROTTA
  // The process-wide assertion service, created at class initialisation;
  // null until the identity module registers it.
  std::function<std::shared_ptr<ServizioAsserzione>()> CreaServizioAsserzione;
};

}  // namespace qzkiro::core
