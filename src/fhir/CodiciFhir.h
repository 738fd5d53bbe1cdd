#pragma once

#include <span>
#include <string>
#include <string_view>

namespace qzkiro::fhir {

// One coded value as FHIR writes it: coding/system, coding/code,
// coding/display. An empty field is left out of the resource.
struct Codifica {
  std::string Sistema;
  std::string Codice;
  std::string Display;

  bool Vuota() const { return Sistema.empty() && Codice.empty() && Display.empty(); }
  friend bool operator==(const Codifica&, const Codifica&) = default;
};

inline constexpr std::string_view kNsFhir = "http://hl7.org/fhir";

// Identifier systems.
inline constexpr std::string_view kOidCodiceFiscale = "urn:oid:2.16.840.1.113883.2.9.4.3.2";
inline constexpr std::string_view kOidMpi = "urn:oid:2.16.840.1.113883.2.9.2.50.4.1.2";
inline constexpr std::string_view kOidAzienda = "urn:oid:2.16.840.1.113883.2.9.4.1.1";
inline constexpr std::string_view kOidMedicoRegionale = "urn:oid:2.16.840.1.113883.2.9.2.50.4.2";
inline constexpr std::string_view kOidAttivitaMedico = "urn:oid:2.16.840.1.113883.2.9.5.1.111";

// The root of the region's flow code systems: "urn:oid:...50.6" + ".14.x".
inline constexpr std::string_view kRadiceFlussi = "urn:oid:2.16.840.1.113883.2.9.2.50.6";
// The system of a flow code list: Sistema14(".14.2.1") is the root followed by
// the suffix.
std::string Sistema14(std::string_view suffisso);

// The MessageHeader's event codes.
inline constexpr std::string_view kSistemaEvento = "urn:oid:2.16.840.1.113883.2.9.2.50.6.14.11";
// Reasons of activities (ICD-9), vaccines (CVX), drugs, sites, routes,
// practitioner roles, target diseases and dose counting.
inline constexpr std::string_view kSistemaIcd9 = "urn:oid:2.16.840.1.113883.6.142";
inline constexpr std::string_view kSistemaCvx = "urn:oid:2.16.840.1.113883.6.59";
inline constexpr std::string_view kSistemaFarmaco = "urn:oid:2.16.840.1.113883.2.9.6.1.5";
inline constexpr std::string_view kSistemaSito = "urn:oid:2.16.840.1.113883.12.163";
inline constexpr std::string_view kSistemaVia = "urn:oid:2.16.840.1.113883.5.112";
inline constexpr std::string_view kSistemaRuolo = "urn:oid:2.16.840.1.113883.4.642.3.295";
inline constexpr std::string_view kSistemaMalattia = "urn:oid:2.16.840.1.113883.6.103";
inline constexpr std::string_view kSistemaConteggioDose = "urn:oid:2.16.840.1.113883.4.642.3.288";
inline constexpr std::string_view kSistemaMotivoVaccino =
    "urn:oid:2.16.840.1.113883.2.9.2.50.6.14.3";
// The activity categories of a CarePlan (FHIR's own code system).
inline constexpr std::string_view kSistemaCategoriaAttivita =
    "http://hl7.org/fhir/care-plan-activity-category";

// The practitioner's qualification: the agreement code under the region's
// list ("urn:oid:2.16.840.1.113883.2.9.2." + region + ".4.15").
std::string SistemaAccordo(std::string_view codice_regione);
// "Medico di Medicina Generale", or "Pediatra di Libera scelta" for a
// paediatrician.
std::string_view DisplayAttivitaMedico(bool pediatra);

// The local records' activity codings, by the code list they belong to.
enum class ListaAttivita {
  Accesso,              // .14.2.1
  PPIP,                 // .14.8.1
  DoseVaccino,          // .14.4
  ContestoOsservazione, // .14.5
  Problema,             // .14.1.1
  PrioritaPrescrizione, // .14.1.2
  Altro,                // .14.7.1
  AssistenzaDomiciliare,// .14.9.1
  TipoAssistenza,       // .14.9.2
};

// Every coding of a list that the add-on sends with a fixed display, in the
// list's order; the PPIP list is the host's catalogue and is empty here.
std::span<const Codifica> CodificheLista(ListaAttivita lista);
// The coding of `lista` whose display or code is `chiave`; an empty coding
// when the list has none.
Codifica CercaCodifica(ListaAttivita lista, std::string_view chiave);

// The extended vaccination variant's code lists (extensions of the
// Immunization) and their fixed values.
inline constexpr std::string_view kSuffissoPagamento = ".14.12";
inline constexpr std::string_view kSuffissoErogazione = ".14.13";
inline constexpr std::string_view kSuffissoRecapito = ".14.14";
inline constexpr std::string_view kSuffissoMotivi = ".14.15";
inline constexpr std::string_view kSuffissoStruttura = ".14.16";
inline constexpr std::string_view kSuffissoNonSomministrata = ".14.17";
inline constexpr std::string_view kSuffissoCampagna = ".14.18";
inline constexpr std::string_view kSuffissoProgresso = ".14.19";
// Payment: "MP01" (SSN) or "MP03" (paid by the patient).
Codifica PagamentoSsn();
Codifica PagamentoAssistito();
// The delivery codes the extended variant knows.
inline constexpr std::string_view kCodiciErogazione[] = {"X022", "L011", "X011", "X023",
                                                         "X006", "X025", "R44020"};
inline constexpr std::string_view kMotiviEstesi = "PV08,PV13,PV14,PV15,PV16,PV29,PV30,PV53";
inline constexpr std::string_view kCampagnaCovid = "Immunisation;Covid-19";
// Contact points: "T010" with "mail:" + address, "T009" with "tel:" + number.
Codifica RecapitoMail(std::string_view indirizzo);
Codifica RecapitoTelefono(std::string_view numero);
// The extended variant treats the records of this day ("yyyymmdd") and later.
inline constexpr std::string_view kInizioVariante = "20191104";
bool DaVarianteEstesa(std::string_view data_record);

}  // namespace qzkiro::fhir
