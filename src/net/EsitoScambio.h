#pragma once

#include <string>

#include "core/TrasportoHttp.h"

namespace qzkiro::net {

// How an exchange with a service ended, as far as the user is told.
enum class EsitoScambio {
  kRiuscito,            // the client accepts the answer
  kNessunaRisposta,     // no answer at all: no connection, refused certificate, ...
  kTempoScaduto,        // no answer within a time limit
  kNonAutorizzato,      // status 401
  kNonRispostoInTempo,  // status 504 of a REST service
  kStato,               // any other status: the fault or description it carries, else its number
  kStatoBinario,        // a failed binary post: a fault in the transport's error, else the number
  kFaultSoap,           // a SOAP fault in an answer of the platform's other HTTP client
  // The fault a service wrote in the answer the transport kept (the body, or
  // the transport's description when nothing came), else the transport's
  // message (`errore`).
  kFaultServizio,
  kTempoScadutoServizio,  // the service's receipt says it ran out of time (code 1111)
};

// The rules by which each client sorts what came back.
enum class FormaScambio {
  kSoap,         // a text envelope or a prepared request: 200 is the answer
  kSoapBinario,  // a byte body: 200 is the answer; no answer reads as a status
  kSoapCns,      // the other HTTP client: any answer without a SOAP fault is accepted
  kRest,         // as kSoap, and a 504 is a gateway time-out
};

// Sorts an answer by the rules of `forma`.
EsitoScambio ClassificaRisposta(FormaScambio forma, const core::RispostaHttp& risposta);

// The message the user reads for an outcome ("" for kRiuscito). The status,
// reason phrase, body and error of `risposta` fill the messages that quote
// the service.
std::string MessaggioEsito(EsitoScambio esito, const core::RispostaHttp& risposta = {});

}  // namespace qzkiro::net
