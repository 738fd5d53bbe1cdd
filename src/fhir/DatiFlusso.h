#pragma once

#include <optional>
#include <string>
#include <vector>

#include "fhir/CodiciFhir.h"
#include "util/DataOra.h"

namespace qzkiro::fhir {

// What the flows of the regional FHIR server carry, as plain values the
// caller fills from the host. Dates named "yyyymmdd" are the host's form;
// instants are util::DataOra already in UTC.

struct PazienteFlusso {
  std::string CodiceFiscale;
  std::string MPI;  // the regional identifier
  std::string Cognome;
  std::string Nome;
};

struct MedicoFlusso {
  std::string CodiceFiscale;
  std::string CodiceRegionale;        // the doctor's code in the region
  std::string CodiceRegione = "50";   // completes the agreement list's system
  std::string CodiceAccordo;          // the doctor's agreement code
  std::string CodiceAttivita;         // the activity code of the national list
  bool Pediatra = false;
};

// Server ids confirmed by a search (RicercaFhir.h); an empty id means the
// resource is not known yet and the Bundle creates it.
struct IdRisorse {
  std::string Patient;
  std::string Practitioner;
  std::string Organization;
};

// The new GUIDs the caller draws for one Bundle.
struct GuidRisorse {
  std::string CarePlan;  // the care-plan flow's focus
  std::string Patient;
  std::string Practitioner;
  std::string Organization;
};

// The MessageHeader: "create" for a first send, "update" for a resend.
struct IntestazioneFlusso {
  bool Aggiornamento = false;
  util::DataOra MarcaTemporaleUtc;
  std::string Sorgente = "QZKiroIM";  // source/name
  std::string Endpoint = "QZKiroIM";  // source/endpoint
};

enum class CategoriaAttivita { Incontro, Procedura, Farmaco, Osservazione, Altro };
// "encounter", "procedure", "drug", "observation", "other".
std::string_view CodiceCategoria(CategoriaAttivita categoria);

// One local record that becomes a CarePlan activity with a detail.
struct AttivitaFlusso {
  CategoriaAttivita Categoria = CategoriaAttivita::Altro;
  Codifica Codice;          // a coding of CodiciFhir.h's lists, or a PPIP code
  bool Pianificata = false; // "on-hold" instead of "completed"
  // With Fine: scheduledPeriod; Inizio alone: scheduledTiming/event.
  std::optional<util::DataOra> InizioUtc;
  std::optional<util::DataOra> FineUtc;
  Codifica Motivo;  // ICD-9 code and display; the system is set when empty
  std::string Descrizione;
};

enum class CampagnaVaccinale { Nessuna, Antinfluenzale, Altra };
// "Nessuna campagna vaccinale", "ANTINFLUENZALE", "Campagna vaccinale".
std::string_view NotaCampagna(CampagnaVaccinale campagna);

// One vaccination: an Immunization entry and the activity that points to it.
struct VaccinazioneFlusso {
  std::string Guid;
  std::string IdServer;  // held by the server: sent PUT "/Immunization/" + id
  bool NonSomministrata = false;
  // Sistema kSistemaCvx or kSistemaFarmaco; an empty code is sent as
  // "NON SPECIFICATO".
  Codifica Vaccino;
  std::string Data;  // "yyyymmdd"
  bool FontePrimaria = true;
  std::string Lotto;
  std::string Scadenza;  // "yyyymmdd"
  Codifica Sito;         // code and display; the system is kSistemaSito
  Codifica Via;          // code and display; the system is kSistemaVia
  CampagnaVaccinale Campagna = CampagnaVaccinale::Nessuna;
  std::string CategoriaRischio;  // the host's text, see CategoriaRischio.h
  std::vector<Codifica> Malattie;  // target diseases (ICD-9-CM), one per antigen
  bool Conta = true;               // doseStatus "count" or "nocount"
  // Extended variant only.
  Codifica Pagamento;              // PagamentoSsn() / PagamentoAssistito()
  std::vector<Codifica> Erogazione;  // kCodiciErogazione, Sistema14(kSuffissoErogazione)
  Codifica Recapito;               // RecapitoMail() / RecapitoTelefono()
  std::string Motivi;              // kMotiviEstesi
  Codifica MotivoNonSomministrata; // code and display; system .14.17
  std::string Campagne;            // kCampagnaCovid
};

enum class TipoValore { Quantita, Rapporto, Intervallo };

// One measured value: an Observation entry and the activity pointing to it.
struct OsservazioneFlusso {
  std::string Guid;
  std::string IdServer;  // held by the server: sent PUT "/Observation/" + id
  std::string Stato = "final";
  Codifica Codice;
  TipoValore Tipo = TipoValore::Quantita;
  std::string Valore;  // valueQuantity/value, or valueRange/high/value
  std::string Unita;
  std::string Numeratore;  // valueRatio
  std::string Denominatore;
};

// One patient's care-plan flow for a period.
struct FlussoCarePlan {
  IntestazioneFlusso Intestazione;
  // The extended vaccination variant (host setting VaccinazioneEstesa 2).
  bool Esteso = false;
  PazienteFlusso Paziente;
  MedicoFlusso Medico;
  std::string CodiceAzienda;  // the health unit's code
  IdRisorse Id;
  GuidRisorse Guid;
  std::string InizioPeriodo;  // "yyyymmdd"
  std::string FinePeriodo;    // "yyyymmdd", may be empty
  std::vector<AttivitaFlusso> Attivita;
  std::vector<VaccinazioneFlusso> Vaccinazioni;
  std::vector<OsservazioneFlusso> Osservazioni;
};

}  // namespace qzkiro::fhir
