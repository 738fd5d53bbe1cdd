#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sandbox/IdentityProvider.h"
#include "sandbox/Pki.h"
#include "sandbox/RegioneHl7.h"
#include "sandbox/Sandbox.h"

namespace qzkiro::sandbox {

// The regional health record (FSE): its registry, repository and patient
// index. Every date is fixed, so the answers are the same on every run.
//
// Patients (the fiscal codes of RegioneHl7.h; MPI ids in the domain kDominioMpi):
//   ROSSI MARIA  kMpiRossi    every family of document below
//   BIANCHI      kMpiBianchi  no documents
//   VERDI LUCA   kMpiVerdi    one consent only, revoked (title "consenso revocato",
//                             consultation, 20260410)
//   NERI PAOLA   kMpiNeri     no documents; the index gives her the doctor-relation
//                             event "SNM" (TXA.2, 20261115)
//   GIALLI ANNA  kMpiGialli   no documents
//   BRUNI SOFIA  kMpiBruni    born 20150615 (a minor), fiscal code kCfBruni; no
//                             documents and no contacts
//
// Rossi's documents in the registry (creationTime; LOINC type; mimeType):
//   kDocCdaFirmato      20260105103000  11502-2 laboratory report, CDA R2 in an
//                       attached CMS signed-data made with the sandbox server's key
//                       (application/pkcs7-mime)
//   kDocPdfFirmato      20260112090000  11488-4 specialist report, PDF in CMS
//                       (application/x-pkcs7-mime)
//   kDocCda             20251128120000  34105-7 discharge letter, CDA R2 (application/xml)
//   kDocPdf             20260120150000  18748-4 radiology report (application/pdf)
//   kDocPdfConCda       20260201080000  11502-2 laboratory report, PDF with the CDA
//                       attached as "CDA2.xml" (application/pdf+text/x-cda-r2+xml)
//   kDocTipoIgnoto      20260203100000  11506-3 (application/x-ignoto)
//   kDocRichiesta       20260204090000  "Richiesta (order)"      } types the client
//   kDocProcesso        20260204091500  "Documento di Workflow"  } leaves out of its
//   kDocDispensazione   20260210110000  "Dispensazione"          } lists
//   kDocPatientSummary  20260110093000  60591-5 patient summary, serviceStartTime
//                       20260110, format code kFormatoPatientSummary
// kDocProcesso is found by the workflow reference of kNreProcesso and carries
// kWorkflowInstanceId. Consents (format code kFormatoConsenso, type scheme
// "regioneveneto typeCodes list v1"; serviceStartTime = the creation date):
//   kConsensoAlimentazioneVecchio  .13.1  20250110  "consenso alla alimentazione del fser"
//   kConsensoAlimentazione         .13.1  20260301  "consenso all'alimentazione del fser"
//   kConsensoConsultazione         .13.2  20250110  "consenso alla consultazione del fser"
//   kConsensoPregresso             .13.13 20250215  "consenso all'alimentazione del fser
//                                                    con documenti pregressi"
//   kConsensoPdta                  .13.100 20250301 "consenso alla consultazione per tutti
//                                                    gli operatori coinvolti nel pdta del paziente"
//   kConsensoRevocato (Verdi)      .13.2  20260410  title "consenso revocato"
namespace fse {
inline constexpr const char* kRepository = "2.16.840.1.113883.2.9.2.50118.4.5.3.1";
inline constexpr const char* kDominioMpi = "2.16.840.1.113883.2.9.2.50.4.1.2";
inline constexpr const char* kMpiRossi = "MPI0000001";
inline constexpr const char* kMpiBianchi = "MPI0000002";
inline constexpr const char* kMpiVerdi = "MPI0000003";
inline constexpr const char* kMpiNeri = "MPI0000004";
inline constexpr const char* kMpiGialli = "MPI0000005";
inline constexpr const char* kMpiBruni = "MPI0000006";
inline constexpr const char* kCfBruni = "BRNSFO15H55L736M";

inline constexpr const char* kDocCdaFirmato = "2.16.840.1.113883.2.9.2.50.4.5.1001";
inline constexpr const char* kDocPdfFirmato = "2.16.840.1.113883.2.9.2.50.4.5.1002";
inline constexpr const char* kDocCda = "2.16.840.1.113883.2.9.2.50.4.5.1003";
inline constexpr const char* kDocPdf = "2.16.840.1.113883.2.9.2.50.4.5.1004";
inline constexpr const char* kDocPdfConCda = "2.16.840.1.113883.2.9.2.50.4.5.1005";
inline constexpr const char* kDocTipoIgnoto = "2.16.840.1.113883.2.9.2.50.4.5.1006";
inline constexpr const char* kDocRichiesta = "2.16.840.1.113883.2.9.2.50.4.5.1007";
inline constexpr const char* kDocProcesso = "2.16.840.1.113883.2.9.2.50.4.5.1008";
inline constexpr const char* kDocDispensazione = "2.16.840.1.113883.2.9.2.50.4.5.1009";
inline constexpr const char* kDocPatientSummary = "2.16.840.1.113883.2.9.2.50.4.5.1010";
inline constexpr const char* kConsensoAlimentazioneVecchio = "2.16.840.1.113883.2.9.2.50.4.5.2001";
inline constexpr const char* kConsensoAlimentazione = "2.16.840.1.113883.2.9.2.50.4.5.2002";
inline constexpr const char* kConsensoConsultazione = "2.16.840.1.113883.2.9.2.50.4.5.2003";
inline constexpr const char* kConsensoPregresso = "2.16.840.1.113883.2.9.2.50.4.5.2004";
inline constexpr const char* kConsensoPdta = "2.16.840.1.113883.2.9.2.50.4.5.2005";
inline constexpr const char* kConsensoRevocato = "2.16.840.1.113883.2.9.2.50.4.5.2006";

inline constexpr const char* kNreProcesso = "050A01234567890";
inline constexpr const char* kWorkflowInstanceId = "2.16.840.1.113883.2.9.2.50.4.4.050A01234567890";
inline constexpr const char* kFormatoConsenso = "urn:ihe:iti:bppc:2007";
inline constexpr const char* kFormatoPatientSummary = "urn:oid:2.16.840.1.113883.2.9.10.2.4.1.1.1";

// The stored queries the registry knows.
inline constexpr const char* kFindDocuments = "urn:uuid:14d4debf-8f97-4251-9a74-a90016b0af0d";
inline constexpr const char* kGetDocuments = "urn:uuid:5c4f972b-d56b-40ac-a5fc-c8ca9b40b9d4";

// The size of the document a scripted retrieval answers with (Esito::kDocumentoGrande).
inline constexpr std::size_t kByteDocumentoGrande = 30u * 1024 * 1024;
}  // namespace fse

// The FSE services, SOAP 1.2 with WS-Addressing on POST <radice>/registry
// (ITI-18 stored query), <radice>/retrieve (ITI-43, answered as an MTOM/XOP
// multipart) and <radice>/anagrafica (the patient index single query, an HL7
// v2.5 XML QRY_A19 answered with an ADR_A19). As strict as the real services:
// the Content-Type must be application/soap+xml with the service's action, the
// message must conform to the public schemas (when they are there), carry
// wsa:Action (the same action), wsa:MessageID ("urn:uuid:" and a lower-case
// UUID) and wsa:To, and a SAML assertion in its WS-Security header (with an
// identity provider: one it issued). Any violation is answered with a SOAP 1.2
// fault naming it. The routes keep working after this object is gone; scripts
// may be queued from any thread.
//
// <radice>/repository takes publications (ProvideAndRegisterDocumentSet-b)
// as the XOP multipart/related request they travel in: the message, with each
// xop:Include read as its part, is held to the same schemas and rules, and
// each CDA document to CDA.xsd (a violation is a registry error). What is
// published is then listed and retrieved like the fixed documents; an RPLC
// association retires the document it replaces from the lists.
class ServiziFse {
 public:
  enum class Servizio { kRegistry, kRetrieve, kAnagrafica, kPubblicazione };
  // What the next request to a service gets instead of the normal answer.
  enum class Esito {
    kDueErrori,        // Failure with two RegistryError elements (registry, retrieve)
    kFault,            // HTTP 500 with a SOAP 1.2 Receiver fault
    kVuota,            // HTTP 200 with an empty body
    kSenzaChiusura,    // retrieve: the multipart ends before its closing boundary
    kTroncata,         // retrieve: the multipart ends halfway through the document
    kFirmaAlterata,    // retrieve: the signed report, altered after signing
    kDocumentoGrande,  // retrieve: a PDF of fse::kByteDocumentoGrande bytes, made now
    kParziale,         // publication: the first document stored, the others refused
  };

  // Documents are signed with the PKI's server key. With `idp`, assertions
  // must be ones it issued. Requests are validated against the public schemas
  // in `cartella_schemi` (by default Schemi::CartellaPredefinita()).
  ServiziFse(Sandbox& sandbox, const Pki& pki, const IdentityProvider* idp = nullptr,
             std::string radice = "/fse",
             const std::optional<std::filesystem::path>& cartella_schemi = std::nullopt);

  const std::string& Radice() const { return radice_; }
  // "<radice>/registry", "<radice>/retrieve", "<radice>/anagrafica", "<radice>/repository".
  std::string Percorso(Servizio servizio) const;
  // The action its Content-Type and wsa:Action must carry.
  static std::string_view Azione(Servizio servizio);
  bool Validazione() const;

  // Queues one scripted answer; queued answers apply in order, one per request.
  void Programma(Servizio servizio, Esito esito);
  // The answers of the services for the patient ROSSI as the add-on's
  // simulator files (path below "Simulatore/", content); signed documents
  // are signed with `pki`'s server key.
  static std::vector<std::pair<std::string, std::string>> FileSimulatore(const Pki& pki);

  // The unique ids of the documents published so far, in order.
  std::vector<std::string> Pubblicati() const;

  // The bytes the repository holds for document `id` (fixed or published);
  // nullopt for an unknown one.
  std::optional<std::string> Documento(std::string_view id) const;

 private:
  struct Stato;
  std::shared_ptr<Stato> stato_;
  std::string radice_;
};

}  // namespace qzkiro::sandbox
