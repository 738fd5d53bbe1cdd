#pragma once

#include <string>

#include "fhir/DatiFlusso.h"

namespace qzkiro::fhir {

// The kinds of local record a care-plan flow carries: the Tipo of the host's
// flow item. Each kind has its activity category and code list.
enum TipoVoce : int {
  kVoceAccesso = 1,                // encounter, access type (.14.2.1): Codice = code or display
  kVocePPIP = 2,                   // procedure, PPIP catalogue (.14.8.1): Codice = catalogue code
  kVocePrescrizione = 3,           // drug, priority (.14.1.2): Codice = code or display
  kVoceVisitaDomicilio = 4,        // encounter, "Visita a domicilio" (.14.7.1)
  kVoceAssistenzaDomiciliare = 5,  // procedure, home care (.14.9.1): "ADI01" ... "UVMD"
  kVoceVaccinazione = 6,           // an Immunization entry
  kVoceOsservazione = 7,           // an Observation entry (diabetes care measures)
  kVoceProblema = 8,               // other, problem (.14.1.1): Codice = code or display
};

// One local record as the host's flow item gives it. Dates are the host's
// "yyyymmdd", local time.
struct VoceLocale {
  int Tipo = 0;
  std::string Data;
  std::string DataFine;
  std::string Codice;
  std::string Descrizione;
  std::string IDDiagnosi;  // ICD-9 code of the reason
  std::string Diagnosi;    // its display
  bool Pianificata = false;
  std::string IdServer;  // the Immunization or Observation the server holds
  // A vaccination.
  std::string CodiceVaccino;  // CVX
  std::string CodiceFarmaco;  // the drug's code, when there is no CVX code
  std::string Lotto;
  std::string Scadenza;
  std::string Sito;  // the site's code
  std::string Via;   // the route's code
  int Campagna = 0;  // 0 none, 1 the flu campaign, 2 another campaign
  std::string CategoriaRischio;
  std::string Malattie;  // target diseases, ICD-9 codes separated by ','
  bool NonSomministrata = false;
  std::string Pagamento;  // "MP03" when the patient pays, else the SSN pays
  // An observation: the workspace record's type (204, 210) and value "i1".
  int TipoRecord = 0;
  std::string Valore;
};

// Adds what `voce` becomes to `flusso`: an activity with its detail, a
// vaccination or an observation (a new entry named `guid`). Activity dates
// go on the wire in UTC: `scarto_utc` is the seconds local time is ahead of
// UTC. The extended variant leaves out vaccinations before 4 November 2019.
// Returns "" when the record was added or left out, else the user's text of
// why the record cannot be carried (nothing is added then).
std::string AggiungiVoce(const VoceLocale& voce, const std::string& guid, long scarto_utc,
                         FlussoCarePlan& flusso);

}  // namespace qzkiro::fhir
