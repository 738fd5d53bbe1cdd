#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sandbox/FseDati.h"
#include "sandbox/Scambio.h"

namespace qzkiro::sandbox::fse {

// The answers of the FSE services, each a whole SOAP 1.2 envelope with
// wsa:Action and wsa:RelatesTo (the request's MessageID).

// An error of a RegistryErrorList.
struct ErroreRegistry {
  std::string codice;    // errorCode: "XDSRegistryError", "XDSDocumentUniqueIdError", ...
  std::string contesto;  // codeContext: the text the client shows
};

// query:AdhocQueryResponse, status Success, a LeafClass ExtrinsicObject for
// each document (in the given order).
std::string RispostaQuery(const std::vector<const DocumentoFse*>& documenti,
                          std::string_view relativo_a);
// query:AdhocQueryResponse, status Failure, with a RegistryErrorList.
std::string RispostaQueryErrori(const std::vector<ErroreRegistry>& errori,
                                std::string_view relativo_a);

// The repository's answer to a publication (ProvideAndRegisterDocumentSet-b):
// a RegistryResponse, Success without errors, PartialSuccess with errors when
// `parziale` (some documents were stored), else Failure.
std::string RispostaPubblicazione(const std::vector<ErroreRegistry>& errori, bool parziale,
                                  std::string_view relativo_a);

// One document of a retrieval answer.
struct DocumentoRecuperato {
  std::string repository, id, mime;
  std::string contenuto;
};
// The MTOM/XOP multipart/related answer of a retrieval: the root part
// (RetrieveDocumentSetResponse with a RegistryResponse, then a DocumentResponse
// whose Document is an xop:Include) and one binary part per document. Status
// Success without errors, Failure without documents, else PartialSuccess.
// `confine` is the MIME boundary.
Risposta RispostaRetrieve(const std::vector<DocumentoRecuperato>& documenti,
                          const std::vector<ErroreRegistry>& errori, std::string_view relativo_a,
                          std::string_view confine);

// The patient index answer: ADR_A19 (MSH, MSA "AA", QAK, then the patient's
// PID, PD1, PV1, GT1 and, for a doctor-relation event, TXA) or, when `paziente`
// is null, MSA "AE" with MSA.6 `codice` / `testo`.
struct EsitoAnagrafica {
  const PazienteFse* paziente = nullptr;
  std::string esito = "AE";  // MSA.1 when there is no patient: "AE" or "AR"
  std::string codice, testo;
};
std::string RispostaAnagrafica(const EsitoAnagrafica& esito, std::string_view id_richiesta,
                               std::string_view id_risposta, std::string_view relativo_a);
// The ADR_A19 message alone (no envelope).
std::string Adr19(const EsitoAnagrafica& esito, std::string_view id_richiesta,
                  std::string_view id_risposta);

}  // namespace qzkiro::sandbox::fse
