#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qzkiro::xds {

// A coded value of a registry entry: a classification's nodeRepresentation,
// its display name and the coding scheme it names.
struct Codifica {
  std::string codice;
  std::string descrizione;
  std::string schema;
};

// One document entry (ExtrinsicObject) of a registry answer.
struct VoceRegistro {
  std::string id_documento;  // ExternalIdentifier XDSDocumentEntry.uniqueId
  std::string id_paziente;   // ExternalIdentifier XDSDocumentEntry.patientId
  std::string repository;    // Slot repositoryUniqueId
  std::string creazione;     // Slot creationTime
  std::string inizio;        // Slot serviceStartTime
  std::string titolo;        // Name/LocalizedString value
  std::string mime_type;
  Codifica formato, reparto, classe, struttura, tipo;
  // Every classification with a code, in document order (consent kinds).
  std::vector<Codifica> classificazioni;
  // The values of Slot sourcePatientInfo ("PID-5|ROSSI^MARIA^^^", ...).
  std::vector<std::string> info_paziente;
  std::vector<std::string> riferimenti;  // Slot urn:ihe:iti:xds:2013:referenceIdList
};

// A registry answer (AdhocQueryResponse), inside a SOAP envelope or bare.
struct RispostaRegistro {
  bool xml = false;     // the answer was XML at all
  std::string errore;   // empty on success: the fault, the error list or the status
  std::vector<VoceRegistro> voci;
};

// Reads a registry answer. A SOAP fault gives its code and text; an error
// list (the region's EntriesResponse/errori, or ebXML RegistryErrorList) its
// entries one per line; a status other than Success says so. Never throws.
RispostaRegistro LeggiRispostaRegistro(std::string_view testo);

// The entry is of a type that the document list leaves out: orders,
// workflow documents and dispensations.
bool TipoEscluso(const VoceRegistro& voce);

// Registry dates ("yyyymmdd[hhmmss]") of different precision compared as
// the same instant padded with zeros: `data` is later than `rispetto`.
bool PiuRecente(const std::string& data, const std::string& rispetto);

// The value of "PID-n" in the entry's sourcePatientInfo, "" when absent.
std::string InfoPaziente(const VoceRegistro& voce, std::string_view campo);

}  // namespace qzkiro::xds
