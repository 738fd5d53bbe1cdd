#include "sandbox/FseRisposte.h"

#include <cstdio>

#include "sandbox/Fse.h"

namespace qzkiro::sandbox::fse {

namespace {

constexpr std::string_view kApprovato = "urn:oasis:names:tc:ebxml-regrep:StatusType:Approved";
constexpr std::string_view kStato = "urn:oasis:names:tc:ebxml-regrep:ResponseStatusType:";
constexpr std::string_view kErrore = "urn:oasis:names:tc:ebxml-regrep:ErrorSeverityType:Error";
constexpr std::string_view kNsRegistry =
    " xmlns:query=\"urn:oasis:names:tc:ebxml-regrep:xsd:query:3.0\""
    " xmlns:rim=\"urn:oasis:names:tc:ebxml-regrep:xsd:rim:3.0\""
    " xmlns:rs=\"urn:oasis:names:tc:ebxml-regrep:xsd:rs:3.0\"";

// The XDS.b classification and identification schemes.
constexpr std::string_view kSchemaClasse = "urn:uuid:41a5887f-8865-4c09-adf7-e362475b143a";
constexpr std::string_view kSchemaFormato = "urn:uuid:a09d5840-386c-46f2-b5ad-9c3699a4309d";
constexpr std::string_view kSchemaStruttura = "urn:uuid:f33fb8ac-18af-42cc-ae0e-ed0b0bdb91e1";
constexpr std::string_view kSchemaReparto = "urn:uuid:cccf5598-8b07-4b77-a05e-ae952c785ead";
constexpr std::string_view kSchemaTipo = "urn:uuid:f0306f51-975f-434e-a61c-c59651d33983";
constexpr std::string_view kSchemaPaziente = "urn:uuid:58a6f841-87b3-4a3e-92fd-a8ffeff98427";
constexpr std::string_view kSchemaUnico = "urn:uuid:2e82c1f6-a085-4c72-9da3-8640a32e42ab";
constexpr std::string_view kVoceDocumento = "urn:uuid:7edca82f-054d-47f2-a032-9b2a5b5186c1";

std::string X(std::string_view testo) {
  return EscapeXml(testo);
}

std::string Busta(std::string_view azione, std::string_view relativo_a, std::string_view corpo,
                  std::string_view prefisso = "env") {
  const std::string p(prefisso);
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><" + p + ":Envelope xmlns:" + p +
         "=\"http://www.w3.org/2003/05/soap-envelope\" "
         "xmlns:wsa=\"http://www.w3.org/2005/08/addressing\"><" +
         p + ":Header><wsa:Action " + p + ":mustUnderstand=\"1\">" + X(azione) +
         "</wsa:Action><wsa:RelatesTo>" + X(relativo_a) + "</wsa:RelatesTo></" + p + ":Header><" +
         p + ":Body>" + std::string(corpo) + "</" + p + ":Body></" + p + ":Envelope>";
}

// A stable UUID for the n-th object of an answer.
std::string Uuid(std::size_t documento, std::size_t oggetto) {
  char testo[64];
  std::snprintf(testo, sizeof testo, "urn:uuid:%08zx-%04zx-4000-8000-5a4e44424f58", documento + 1,
                oggetto);
  return testo;
}

std::string Slot(std::string_view nome, const std::vector<std::string>& valori) {
  std::string xml = "<rim:Slot name=\"" + X(nome) + "\"><rim:ValueList>";
  for (const std::string& v : valori) xml += "<rim:Value>" + X(v) + "</rim:Value>";
  return xml + "</rim:ValueList></rim:Slot>";
}

std::string NomeLocalizzato(std::string_view valore) {
  return "<rim:Name><rim:LocalizedString value=\"" + X(valore) + "\"/></rim:Name>";
}

std::string IdPaziente(const PazienteFse& p) {
  return std::string(p.mpi) + "^^^&" + kDominioMpi + "&ISO";
}

std::vector<std::string> InfoPaziente(const PazienteFse& p) {
  return {"PID-3|" + std::string(p.cf) + "^^^&2.16.840.1.113883.2.9.4.3.2&ISO",
          "PID-5|" + std::string(p.cognome) + "^" + std::string(p.nome) + "^^^",
          "PID-7|" + std::string(p.nascita),
          "PID-8|" + std::string(p.sesso),
          "PID-11|" + std::string(p.via) + "^^" + std::string(p.citta) + "^" +
              std::string(p.provincia) + "^" + std::string(p.cap),
          "PID-13|" + std::string(p.telefono)};
}

std::string Classificazione(std::string_view schema, const Codice& c, const std::string& voce,
                            const std::string& id) {
  return "<rim:Classification id=\"" + id + "\" classificationScheme=\"" + std::string(schema) +
         "\" classifiedObject=\"" + voce + "\" nodeRepresentation=\"" + X(c.codice) + "\">" +
         Slot("codingScheme", {std::string(c.schema)}) + NomeLocalizzato(c.nome) +
         "</rim:Classification>";
}

std::string Identificatore(std::string_view schema, std::string_view valore, std::string_view nome,
                           const std::string& voce, const std::string& id) {
  return "<rim:ExternalIdentifier id=\"" + id + "\" identificationScheme=\"" + std::string(schema) +
         "\" registryObject=\"" + voce + "\" value=\"" + X(valore) + "\">" + NomeLocalizzato(nome) +
         "</rim:ExternalIdentifier>";
}

std::string Voce(const DocumentoFse& d, std::size_t n) {
  const PazienteFse& p = Pazienti()[d.paziente];
  const std::string id = Uuid(n, 0);
  std::string xml = "<rim:ExtrinsicObject id=\"" + id + "\" mimeType=\"" + X(d.mime) +
                    "\" objectType=\"" + std::string(kVoceDocumento) + "\" status=\"" +
                    std::string(kApprovato) + "\">";
  xml += Slot("creationTime", {std::string(d.creazione)});
  if (!d.inizio_servizio.empty()) xml += Slot("serviceStartTime", {std::string(d.inizio_servizio)});
  xml += Slot("repositoryUniqueId", {kRepository}) + Slot("sourcePatientId", {IdPaziente(p)}) +
         Slot("sourcePatientInfo", InfoPaziente(p));
  if (!d.riferimento.empty()) {
    xml += Slot("urn:ihe:iti:xds:2013:referenceIdList", {std::string(d.riferimento)});
  }
  xml += NomeLocalizzato(d.titolo);
  xml += Classificazione(kSchemaClasse, d.classe, id, Uuid(n, 1)) +
         Classificazione(kSchemaFormato, d.formato, id, Uuid(n, 2)) +
         Classificazione(kSchemaStruttura, d.struttura, id, Uuid(n, 3)) +
         Classificazione(kSchemaReparto, d.reparto, id, Uuid(n, 4)) +
         Classificazione(kSchemaTipo, d.tipo, id, Uuid(n, 5));
  xml +=
      Identificatore(kSchemaPaziente, IdPaziente(p), "XDSDocumentEntry.patientId", id, Uuid(n, 6)) +
      Identificatore(kSchemaUnico, d.id, "XDSDocumentEntry.uniqueId", id, Uuid(n, 7));
  return xml + "</rim:ExtrinsicObject>";
}

std::string ElencoErrori(const std::vector<ErroreRegistry>& errori) {
  std::string xml = "<rs:RegistryErrorList highestSeverity=\"" + std::string(kErrore) + "\">";
  for (const ErroreRegistry& e : errori) {
    xml += "<rs:RegistryError codeContext=\"" + X(e.contesto) + "\" errorCode=\"" + X(e.codice) +
           "\" severity=\"" + std::string(kErrore) + "\" location=\"" + "sandbox.qzkiro\">" +
           X(e.contesto) + "</rs:RegistryError>";
  }
  return xml + "</rs:RegistryErrorList>";
}

constexpr std::string_view kAzioneQuery = "urn:ihe:iti:2007:RegistryStoredQueryResponse";

}  // namespace

std::string RispostaQuery(const std::vector<const DocumentoFse*>& documenti,
                          std::string_view relativo_a) {
  std::string corpo = "<query:AdhocQueryResponse" + std::string(kNsRegistry) + " status=\"" +
                      std::string(kStato) + "Success\"><rim:RegistryObjectList>";
  for (std::size_t i = 0; i < documenti.size(); ++i) corpo += Voce(*documenti[i], i);
  corpo += "</rim:RegistryObjectList></query:AdhocQueryResponse>";
  return Busta(kAzioneQuery, relativo_a, corpo);
}

std::string RispostaQueryErrori(const std::vector<ErroreRegistry>& errori,
                                std::string_view relativo_a) {
  return Busta(kAzioneQuery, relativo_a,
               "<query:AdhocQueryResponse" + std::string(kNsRegistry) + " status=\"" +
                   std::string(kStato) + "Failure\">" + ElencoErrori(errori) +
                   "<rim:RegistryObjectList/></query:AdhocQueryResponse>");
}

std::string RispostaPubblicazione(const std::vector<ErroreRegistry>& errori, bool parziale,
                                  std::string_view relativo_a) {
  const std::string stato = errori.empty() ? std::string(kStato) + "Success"
                            : parziale     ? "urn:ihe:iti:2007:ResponseStatusType:PartialSuccess"
                                           : std::string(kStato) + "Failure";
  return Busta("urn:ihe:iti:2007:ProvideAndRegisterDocumentSet-bResponse", relativo_a,
               "<rs:RegistryResponse xmlns:rs=\"urn:oasis:names:tc:ebxml-regrep:xsd:rs:3.0\" "
               "status=\"" + stato + "\">" + (errori.empty() ? "" : ElencoErrori(errori)) +
                   "</rs:RegistryResponse>");
}

Risposta RispostaRetrieve(const std::vector<DocumentoRecuperato>& documenti,
                          const std::vector<ErroreRegistry>& errori, std::string_view relativo_a,
                          std::string_view confine) {
  const std::string stato = errori.empty() ? std::string(kStato) + "Success"
                            : documenti.empty()
                                ? std::string(kStato) + "Failure"
                                : "urn:ihe:iti:2007:ResponseStatusType:PartialSuccess";
  std::string corpo =
      "<xdsb:RetrieveDocumentSetResponse xmlns:xdsb=\"urn:ihe:iti:xds-b:2007\" "
      "xmlns:rs=\"urn:oasis:names:tc:ebxml-regrep:xsd:rs:3.0\"><rs:RegistryResponse status=\"" +
      stato + "\">" + (errori.empty() ? "" : ElencoErrori(errori)) + "</rs:RegistryResponse>";
  std::vector<std::string> cid;
  for (std::size_t i = 0; i < documenti.size(); ++i) {
    const DocumentoRecuperato& d = documenti[i];
    cid.push_back(std::to_string(i + 1) + ".documento@sandbox.qzkiro.invalid");
    corpo += "<xdsb:DocumentResponse><xdsb:RepositoryUniqueId>" + X(d.repository) +
             "</xdsb:RepositoryUniqueId><xdsb:DocumentUniqueId>" + X(d.id) +
             "</xdsb:DocumentUniqueId><xdsb:mimeType>" + X(d.mime) +
             "</xdsb:mimeType><xdsb:Document><xop:Include "
             "xmlns:xop=\"http://www.w3.org/2004/08/xop/include\" href=\"cid:" +
             cid.back() + "\"/></xdsb:Document></xdsb:DocumentResponse>";
  }
  corpo += "</xdsb:RetrieveDocumentSetResponse>";
  const std::string inizio = "--" + std::string(confine) + "\r\n";
  std::string mime =
      inizio +
      "Content-Type: application/xop+xml; charset=UTF-8; "
      "type=\"application/soap+xml\"\r\nContent-Transfer-Encoding: binary\r\n"
      "Content-ID: <0.radice@sandbox.qzkiro.invalid>\r\n\r\n" +
      Busta("urn:ihe:iti:2007:RetrieveDocumentSetResponse", relativo_a, corpo, "soapenv") + "\r\n";
  for (std::size_t i = 0; i < documenti.size(); ++i) {
    mime += inizio +
            "Content-Type: application/octet-stream\r\n"
            "Content-Transfer-Encoding: binary\r\nContent-ID: <" +
            cid[i] + ">\r\n\r\n";
    mime.append(documenti[i].contenuto).append("\r\n");
  }
  mime += "--" + std::string(confine) + "--\r\n";
  return {200, std::move(mime),
          "multipart/related; type=\"application/xop+xml\"; boundary=\"" + std::string(confine) +
              "\"; start=\"<0.radice@sandbox.qzkiro.invalid>\"; "
              "start-info=\"application/soap+xml\""};
}

}  // namespace qzkiro::sandbox::fse
