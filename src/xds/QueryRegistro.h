#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qzkiro::xds {

// The registry's stored queries (ITI-18) that the add-on asks.
inline constexpr std::string_view kFindDocuments = "urn:uuid:14d4debf-8f97-4251-9a74-a90016b0af0d";
inline constexpr std::string_view kGetDocuments = "urn:uuid:5c4f972b-d56b-40ac-a5fc-c8ca9b40b9d4";
inline constexpr std::string_view kAzioneQuery = "urn:ihe:iti:2007:RegistryStoredQuery";

// The format codes that single out consent documents and patient summaries.
inline constexpr std::string_view kFormatoConsenso =
    "('urn:ihe:iti:bppc:2007^^1.3.6.1.4.1.19376.1.2.3')";
inline constexpr std::string_view kFormatoPatientSummary =
    "('urn:oid:2.16.840.1.113883.2.9.10.2.4.1.1.1^^regioneveneto formatCodes v1')";

// One stored query: its id and its slots, each a name and the text of its
// single value (quotes and parentheses included, unescaped).
struct QueryRegistro {
  std::string_view id = kFindDocuments;
  std::vector<std::pair<std::string, std::string>> slot;
  // The process-document form writes the query and rim prefixes as ns1/ns2.
  bool prefissi_brevi = false;
};

// The patient as every query names it: "'" + MPI id + "^^^&<assigning
// authority>&ISO'" (unescaped; the body escapes it).
std::string PazienteXds(std::string_view mpi);

// FindDocuments of the patient's approved documents, with the optional
// filters of the document list: the type code and the creation dates
// ("yyyymmdd", inclusive); empty filters are left out.
QueryRegistro QueryDocumenti(std::string_view mpi, std::string_view tipo = {},
                             std::string_view dalla_data = {}, std::string_view alla_data = {});
// FindDocuments of the patient's consent documents.
QueryRegistro QueryConsensi(std::string_view mpi);
// The patient's summary: FindDocuments with its format code, or, given the
// unique id of a known summary, GetDocuments of that document.
QueryRegistro QueryPatientSummary(std::string_view mpi);
QueryRegistro QueryDocumentoPerId(std::string_view id_documento);
// The process document of a prescription, by its workflow reference.
QueryRegistro QueryProcesso(std::string_view mpi, std::string_view nre);

// The AdhocQueryRequest element of the query (LeafClass objects, composed
// objects returned), the ebXML namespaces declared on it.
std::string CorpoQuery(const QueryRegistro& query);

}  // namespace qzkiro::xds
