#pragma once

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sandbox/FhirDati.h"
#include "sandbox/IdentityProvider.h"
#include "sandbox/Sandbox.h"

namespace qzkiro::sandbox {

// The regional FHIR server (STU3, XML) of the care-plan and indicator flows,
// on the sandbox's mutual TLS, below `radice` ("/fhir"):
//   POST <radice>                    a transaction Bundle (FhirTransazione.h)
//   GET  <radice>/<Type>/<id>        read; .../_history/<n> one version
//   GET  <radice>/<Type>?<params>    search (FhirRicerca.h)
// As strict as a real one:
// - every request carries "Authorization: IHE-SAML " + Base64 of a SAML 2.0
//   assertion (or of its raw deflate); missing, another scheme: 401 with
//   ERR_00021; not Base64 or no assertion inside: 401 with ERR_00023; with
//   an identity provider, an assertion it did not issue: 403 with ERR_00051;
// - a transaction must be "application/fhir+xml" (else 415), well-formed
//   and, when the public schemas are there, valid against the FHIR STU3
//   schema fhir-single.xsd (else 400, the details text naming line and
//   reason); without them the server says once that it does not validate.
// Every refusal is an OperationOutcome ("application/fhir+xml"), its issue
// details carrying the code and the text.
//
// Resources held from the start (ids in fhir::; patients of RegioneHl7.h,
// identified by MPI id, system fhir::kOidMpi, and fiscal code,
// fhir::kOidCodiceFiscale; written fhir::kIstanteIniziale):
//   Patient 1001  ROSSI MARIA  kMpiRossi   in force
//   Patient 1002  BIANCHI      kMpiBianchi "status" "cancelled", "active"
//                                          false: withdrawn, never to be reused
//   Patient 1003  VERDI LUCA   kMpiVerdi   in force
//   Practitioner 2001  ROSSI MARIO, fiscal code regione::kMedico, regional
//                      code fhir::kCodiceRegionaleMedico, Medico di Medicina Generale
//   Organization 3001  "ULSS 050503", identifier fhir::kOidAzienda|050503
// NERI, GIALLI and BRUNI have no Patient: a first send must carry one. Ids
// the server assigns start at 5001. No CarePlan, Immunization or
// Observation at the start.
//
// The routes keep working after this object is gone; scripts may be queued
// from any thread.
class ServiziFhir {
 public:
  // What the next request gets instead of the normal answer.
  enum class Esito {
    kSoloAvviso,      // 200, OperationOutcome with one warning issue; nothing stored
    kAvvisoEErrore,   // 422, OperationOutcome with a warning and an error; nothing stored
    kErroreInterno,   // 500, OperationOutcome error, details code "ERR_9998"
    kNonDisponibile,  // 503 with Retry-After, OperationOutcome error, details code "6999"
    kTroncata,        // the normal answer (the transaction is stored), cut halfway
    kSenzaLocation,   // a transaction stored normally, whose answer's CarePlan
                      // entry has no response/location
    // Not queued: the next transaction (POST <radice>) waits kRitardoLento,
    // beyond the add-on's 30-second time-out, then is served normally.
    kLenta,
  };
  static constexpr std::chrono::seconds kRitardoLento{35};
  // Which requests a scripted answer waits for.
  enum class Bersaglio {
    kTransazione,  // POST <radice>
    kLettura,      // GET below <radice> (read or search)
  };

  // With `idp`, assertions must be ones it issued. Transactions are
  // validated against the schema below `cartella_schemi` (by default
  // Schemi::CartellaPredefinita()).
  ServiziFhir(Sandbox& sandbox, const IdentityProvider* idp = nullptr, std::string radice = "/fhir",
              const std::optional<std::filesystem::path>& cartella_schemi = std::nullopt);

  const std::string& Radice() const { return radice_; }
  bool Validazione() const;

  // Queues one scripted answer for the next request of `bersaglio`; queued
  // answers apply in order, one per request. kLenta always waits for a transaction.
  void Programma(Esito esito, Bersaglio bersaglio = Bersaglio::kTransazione);

  // The current version of a resource as stored; nullopt when unknown.
  std::optional<std::string> Risorsa(std::string_view tipo, std::string_view id) const;

  // The answers of the flows for the patient ROSSI as the add-on's
  // simulator files (path below "Simulatore/", content): InvioFlussoACN,
  // RecuperoCarePlan, RicercaCarePlan, InvioIndicatoriPA,
  // RecuperoIndicatoriPA, RicercaFlussoPA, and DaiIDRisorsaPA (the search that
  // confirms the GP's Practitioner); each "<service>/<service>.xml".
  static std::vector<std::pair<std::string, std::string>> FileSimulatore();

 private:
  struct Stato;
  std::shared_ptr<Stato> stato_;
  std::string radice_;
  Sandbox* sandbox_;
};

}  // namespace qzkiro::sandbox
