#pragma once

#include <string>
#include <vector>

#include "sandbox/FhirDati.h"
#include "sandbox/Scambio.h"

namespace qzkiro::sandbox::fhir {

// One issue of an OperationOutcome; empty texts are left out.
struct Problema {
  std::string severita = "error";   // fatal, error, warning, information
  std::string tipo = "processing";  // the IssueType code
  std::string codice, display;      // details/coding
  std::string testo;                // details/text
  std::string diagnostica, posizione;
};

// The OperationOutcome of `problemi` (FHIR STU3 XML).
std::string OperationOutcome(const std::vector<Problema>& problemi);
// That OperationOutcome as the answer, with HTTP status `stato`.
Risposta RispostaProblemi(int stato, const std::vector<Problema>& problemi);
// One error issue with the details text `testo`.
Risposta Errore(int stato, std::string tipo, std::string testo, std::string codice = {},
                std::string display = {});

// One entry of a transaction-response: response/status, location and
// lastModified, and the resource itself when `risorsa` is not empty.
struct VoceRisposta {
  std::string stato, posizione, ultima_modifica, risorsa;
};
std::string BundleRisposta(const std::string& id, const std::string& adesso,
                           const std::vector<VoceRisposta>& voci);

// A searchset Bundle of `trovate`: each entry's fullUrl is `base` + "/" +
// Type/id, its search mode "match".
std::string BundleRicerca(const std::string& id, const std::string& adesso, const std::string& base,
                          const std::vector<const Risorsa*>& trovate);

}  // namespace qzkiro::sandbox::fhir
