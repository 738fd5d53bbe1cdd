#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qzkiro::fhir {

// Which flow an answer belongs to: the two differ in the codes they
// recognise, the resource their receipt names and some texts.
enum class FlussoFhir { CarePlan, Indicatori };

// One issue of an OperationOutcome.
struct ProblemaFhir {
  std::string Severita;          // issue/severity: "warning", "error", ...
  std::string Tipo;              // issue/code
  std::string CodiceDettaglio;   // issue/details/coding/code
  std::string DisplayDettaglio;  // issue/details/coding/display
  std::string TestoDettaglio;    // issue/details/text
  std::string Diagnostica;       // issue/diagnostics
  std::string Posizione;         // issue/location

  // The line the user reads: code and display, then the details text, the
  // diagnostics and the location when they add something, joined by " - ".
  // The indicators flow reports only code and display (falling back on the
  // other texts when both are empty).
  std::string Testo(FlussoFhir flusso) const;
};

// What a recognised error code asks of the caller.
enum class GruppoCodice {
  Nessuno,
  GiaCreato,     // "ERR_00999": a CarePlan of that period already exists
  ErroreServer,  // "6999", "9998" (with or without "ERR_"), "ERR_00099"
  Asserzione,    // the assertion codes "ERR_00021" ... "ERR_00045"
};
// The indicators flow does not know "ERR_00099" and "ERR_00999".
GruppoCodice GruppoDelCodice(std::string_view codice, FlussoFhir flusso);

inline constexpr std::string_view kGiaCreato =
    "ERR_00999 - CarePlan gia' creato per il periodo di riferimento selezionato";
inline constexpr std::string_view kContattareSupporto = "Contattare il supporto tecnico di Curalis";
inline constexpr std::string_view kFormatoSconosciuto =
    "Formato di risposta del messaggio sconosciuto.";
inline constexpr std::string_view kRispostaAnomala = "Il server ha risposto in modo anomalo.";
inline constexpr std::string_view kRispostaNonValida = "Risposta non valida.";
inline constexpr std::string_view kInviatoConAvvisi = "Inviato con successo ma con avvisi:";
inline constexpr std::string_view kEliminatoConAvvisi = "Eliminato con successo ma con avvisi:";

// One entry of a transaction-response Bundle.
struct RispostaVoce {
  std::string Stato;           // response/status, "201 Created"
  std::string Posizione;       // response/location
  std::string UltimaModifica;  // response/lastModified
  std::string Tipo;            // from the location: "CarePlan"
  std::string Id;              // from the location: "123"
  bool Accettata = false;      // the status is one the flows accept
  std::vector<ProblemaFhir> Avvisi;  // response/outcome issues
};

// A status the flows accept: "201 created", "201-created", "200 ok",
// "200-ok", "202 accepted", "202-accepted", in any letter case.
bool StatoAccettato(std::string_view stato);

// The outcome of a send or a cancellation, as the flow object keeps it.
struct EsitoFlusso {
  // 1 accepted, 2 OperationOutcome of warnings only, 3 failed or refused,
  // 5 a cancellation accepted.
  int Stato = 3;
  std::string Errori;  // the lines the user reads, joined by CR LF
  std::vector<ProblemaFhir> Problemi;  // the issues of an OperationOutcome answer
  std::vector<RispostaVoce> Voci;      // the entries of a response Bundle
  std::string IdRichiesta;       // id of the flow's resource (CarePlan or first Observation)
  std::string Ricevuta;          // its receipt, "CarePlan////123"; "" without a location
  std::string DataElaborazione;  // its lastModified
  std::string ServerStatus;      // resource/<type>/status when the server returned it
  std::string ServerComment;     // the CarePlan's detail/description, the Observation's comment
  std::string IdPatient;         // a Patient id the answer gives: refreshes the cache
  std::string Allegato;          // extension/valueBase64Binary, as sent (Base64)
  bool RinnovaAsserzione = false;  // an assertion code came back
};

// Reads the server's answer to a send (`annullamento` false) or a
// cancellation. An OperationOutcome gives Stato 2 when every issue is a
// warning, 3 otherwise, its lines in Errori (with the message of
// ERR_00999 and the support hint for server faults); a response Bundle whose
// every status is accepted gives 1 (5 for a cancellation), with the warnings
// of its entries after "Inviato con successo ma con avvisi:" ("Eliminato
// ..." for a cancellation); a refused status gives 3. Another document gives
// "Formato di risposta del messaggio sconosciuto.", text that is not XML
// "Il server ha risposto in modo anomalo." ("Risposta non valida." for the
// indicators). Never throws.
EsitoFlusso LeggiEsitoFlusso(std::string_view risposta, FlussoFhir flusso, bool annullamento);

// The Errori text of an OperationOutcome answer given as text (a search or a
// read back that failed): its lines as LeggiEsitoFlusso writes them; "" when
// the text is no OperationOutcome.
std::string ErroriOperationOutcome(std::string_view risposta, FlussoFhir flusso);

}  // namespace qzkiro::fhir
