#include "xds/QueryRegistro.h"

#include "util/Testo.h"

namespace qzkiro::xds {

namespace {
constexpr std::string_view kAutoritaPaziente = "2.16.840.1.113883.2.9.2.50.4.1.2";
constexpr std::string_view kAutoritaRicetta = "2.16.840.1.113883.2.9.2.50.4.4";
constexpr std::string_view kApprovato = "('urn:oasis:names:tc:ebxml-regrep:StatusType:Approved')";

// Slot values keep their quotes as written: only &, < and > are escaped.
std::string TestoXml(std::string_view testo) {
  std::string out;
  out.reserve(testo.size() + 16);
  for (char c : testo) {
    if (c == '&') {
      out += "&amp;";
    } else if (c == '<') {
      out += "&lt;";
    } else if (c == '>') {
      out += "&gt;";
    } else {
      out += c;
    }
  }
  return out;
}

std::string Tra(std::string_view valore) {
  return "('" + std::string(valore) + "')";
}

QueryRegistro DelPaziente(std::string_view mpi) {
  QueryRegistro q;
  q.slot.emplace_back("$XDSDocumentEntryPatientId", PazienteXds(mpi));
  q.slot.emplace_back("$XDSDocumentEntryStatus", std::string(kApprovato));
  return q;
}
}  // namespace

std::string PazienteXds(std::string_view mpi) {
  return "'" + std::string(mpi) + "^^^&" + std::string(kAutoritaPaziente) + "&ISO'";
}

QueryRegistro QueryDocumenti(std::string_view mpi, std::string_view tipo,
                             std::string_view dalla_data, std::string_view alla_data) {
  QueryRegistro q = DelPaziente(mpi);
  if (!tipo.empty()) q.slot.emplace_back("$XDSDocumentEntryType", Tra(tipo));
  if (!dalla_data.empty()) {
    q.slot.emplace_back("$XDSDocumentEntryCreationTimeFrom", std::string(dalla_data));
  }
  if (!alla_data.empty()) {
    q.slot.emplace_back("$XDSDocumentEntryCreationTimeTo", std::string(alla_data));
  }
  return q;
}

QueryRegistro QueryConsensi(std::string_view mpi) {
  QueryRegistro q = DelPaziente(mpi);
  q.slot.emplace_back("$XDSDocumentEntryFormatCode", std::string(kFormatoConsenso));
  return q;
}

QueryRegistro QueryPatientSummary(std::string_view mpi) {
  QueryRegistro q = DelPaziente(mpi);
  q.slot.emplace_back("$XDSDocumentEntryFormatCode", std::string(kFormatoPatientSummary));
  return q;
}

QueryRegistro QueryDocumentoPerId(std::string_view id_documento) {
  QueryRegistro q;
  q.id = kGetDocuments;
  q.slot.emplace_back("$XDSDocumentEntryUniqueId", Tra(id_documento));
  return q;
}

QueryRegistro QueryProcesso(std::string_view mpi, std::string_view nre) {
  QueryRegistro q = DelPaziente(mpi);
  q.slot.emplace_back("$XDSDocumentEntryReferenceIdList",
                      Tra(std::string(nre) + "^^^&" + std::string(kAutoritaRicetta) +
                          "&ISO^urn:ihe:iti:xdw:2013:workflowInstanceId"));
  q.prefissi_brevi = true;
  return q;
}

std::string CorpoQuery(const QueryRegistro& query) {
  const std::string qp = query.prefissi_brevi ? "ns1" : "ns4";
  const std::string rim = query.prefissi_brevi ? "ns2" : "ns6";
  std::string c = "<" + qp + ":AdhocQueryRequest";
  if (!query.prefissi_brevi) {
    c += " xmlns:ns3=\"urn:oasis:names:tc:ebxml-regrep:xsd:rs:3.0\""
         " xmlns:ns5=\"urn:oasis:names:tc:ebxml-regrep:xsd:lcm:3.0\"";
  }
  c += " xmlns:" + qp + "=\"urn:oasis:names:tc:ebxml-regrep:xsd:query:3.0\"";
  c += " xmlns:" + rim + "=\"urn:oasis:names:tc:ebxml-regrep:xsd:rim:3.0\">";
  c += "<" + qp + ":ResponseOption returnType=\"LeafClass\" returnComposedObjects=\"true\"/>";
  c += "<" + rim + ":AdhocQuery id=\"" + std::string(query.id) + "\">";
  for (const auto& [nome, valore] : query.slot) {
    c += "<" + rim + ":Slot name=\"" + util::XmlEscape(nome) + "\"><" + rim + ":ValueList><" +
         rim + ":Value>" + TestoXml(valore) + "</" + rim + ":Value></" + rim +
         ":ValueList></" + rim + ":Slot>";
  }
  c += "</" + rim + ":AdhocQuery></" + qp + ":AdhocQueryRequest>";
  return c;
}

}  // namespace qzkiro::xds
