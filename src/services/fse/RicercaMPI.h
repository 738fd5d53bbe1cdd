#pragma once

#include <string>

#include "qzkiro/host/Input.h"
#include "services/regione/BloccoPaziente.h"
#include "util/DataOra.h"

namespace qzkiro::fse {

// Who is looked up in the regional patient index: by fiscal code, or by the
// index's own identifier when it is known; the other data narrow the search.
struct DatiRicercaMPI {
  std::string codice_fiscale;
  std::string mpi;
  std::string tessera;
  std::string cognome;
  std::string nome;
  std::string data_nascita;  // "yyyymmdd"
};

// The query's id: seconds from 1 January 2012 to `adesso`, then the first
// two digits of its milliseconds.
std::string IdQueryMPI(const util::DataOra& adesso, int millisecondi);

// The body of the single query (an HL7 v2.5 XML QRY_A19) and the envelope
// attributes it needs.
std::string CorpoRicercaMPI(const DatiRicercaMPI& dati, const std::string& cf_utente,
                            const util::DataOra& adesso, const std::string& id_query);
inline constexpr const char* kDichiarazioniMPI =
    " xmlns:wsa=\"http://www.w3.org/2005/08/addressing\""
    " xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
    " xsi:schemaLocation=\"http://www.w3.org/2005/08/addressing ws-addr.xsd\"";
inline constexpr const char* kDestinatarioMPI = "http://servizioAziendaleAnagrafica";

// The text of a doctor-relation event of the answer ("REV" → "Revoca"); ""
// for any other code.
std::string TestoEventoMPI(const std::string& codice);

// The outcome of reading an answer: the patients went to `risultato`.
struct EsitoMPI {
  bool trovato = false;
  std::string mpi;         // the first patient's identifier
  host::Variant paziente;  // the first patient's record in `risultato`
  std::string errore;      // "Errore HL7: ...", "Dati non trovati sul server KIRO", ...
};
// `opzioni` says what besides the registry data each patient brings.
EsitoMPI LeggiRispostaMPI(const std::string& risposta, host::IInput& risultato,
                          const regione::OpzioniPaziente& opzioni);

// The operation: asks the index and hands every patient found to
// `risultato`. On failure the add-on's last error says why.
EsitoMPI CercaPazienteMPI(const DatiRicercaMPI& dati, host::IInput& risultato,
                          const regione::OpzioniPaziente& opzioni = {true, false, true, {}});

}  // namespace qzkiro::fse
