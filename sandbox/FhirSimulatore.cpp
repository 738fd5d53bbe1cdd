// The regional FHIR server's answers as the add-on's simulator files: a
// care plan of ROSSI MARIA for February 2026 and two PA indicators of the
// sandbox GP, run through the same store, transaction and search code as
// the live server, at a fixed instant, so the files are the same on every run.

#include <string>
#include <utility>
#include <vector>

#include "sandbox/Fhir.h"
#include "sandbox/FhirDati.h"
#include "sandbox/FhirRicerca.h"
#include "sandbox/FhirTransazione.h"
#include "sandbox/RegioneHl7.h"
#include "util/Libxml.h"

namespace qzkiro::sandbox {

namespace {

constexpr const char* kIstante = "2026-03-05T10:20:30Z";
constexpr const char* kBase = "https://127.0.0.1:9443/fhir";

std::string Intestazione(const char* full_url, const std::string& focus) {
  return std::string("<entry><fullUrl value=\"") + full_url +
         "\"/><resource><MessageHeader><event><system value=\"" + fhir::kSistemaEvento +
         "\"/><code value=\"create\"/></event><timestamp value=\"" + kIstante +
         "\"/><source><name value=\"Curalis\"/><endpoint value=\"urn:curalis\"/></source>" + focus +
         "</MessageHeader></resource><request><method value=\"POST\"/><url "
         "value=\"/MessageHeader\"/></request></entry>";
}

std::string Transazione(const std::string& voci) {
  return std::string("<Bundle xmlns=\"") + fhir::kNs + "\"><type value=\"transaction\"/>" + voci +
         "</Bundle>";
}

std::string FlussoAcn() {
  const std::string careplan = "urn:uuid:3a0c1f52-6b7e-4d8a-9c10-000000000001";
  const std::string osservazione = "urn:uuid:3a0c1f52-6b7e-4d8a-9c10-000000000002";
  return Transazione(
      Intestazione("urn:uuid:7154b2a0-7bc8-4496-b684-795a32846118",
                   "<focus><reference value=\"" + careplan + "\"/></focus>") +
      "<entry><fullUrl value=\"" + careplan +
      "\"/><resource><CarePlan><status value=\"active\"/><intent value=\"proposal\"/>"
      "<subject><reference value=\"Patient/" +
      fhir::kIdPatientRossi +
      "\"/></subject><period><start value=\"2026-02-01\"/><end value=\"2026-02-28\"/></period>"
      "<author><reference value=\"Practitioner/" +
      fhir::kIdPractitioner +
      "\"/></author><activity><detail><category><coding><code value=\"encounter\"/></coding>"
      "</category><code><coding><system value=\"urn:oid:2.16.840.1.113883.2.9.2.50.6.14.2.1\"/>"
      "<code value=\"5\"/><display value=\"Accesso con visita medica\"/></coding></code>"
      "<status value=\"completed\"/><scheduledTiming><event value=\"2026-02-10T09:00:00Z\"/>"
      "</scheduledTiming><performer><reference value=\"Practitioner/" +
      fhir::kIdPractitioner +
      "\"/></performer><description value=\"Visita ambulatoriale\"/></detail></activity>"
      "<activity><outcomeReference><reference value=\"Observation/" +
      osservazione.substr(9) +
      "\"/></outcomeReference></activity></CarePlan></resource><request><method value=\"POST\"/>"
      "<url value=\"/CarePlan\"/></request></entry><entry><fullUrl value=\"" +
      osservazione +
      "\"/><resource><Observation><status value=\"final\"/><code><coding><system "
      "value=\"http://loinc.org\"/><code value=\"8462-4\"/><display value=\"Pressione arteriosa "
      "diastolica\"/></coding></code><subject><reference value=\"Patient/" +
      fhir::kIdPatientRossi +
      "\"/></subject><effectiveDateTime value=\"2026-02-10\"/>"
      "<valueQuantity><value value=\"85\"/><unit value=\"mm[Hg]\"/></valueQuantity>"
      "</Observation></resource><request><method value=\"POST\"/><url value=\"/Observation\"/>"
      "</request></entry>");
}

std::string Indicatore(const std::string& uuid, const char* uso, const char* codice,
                       const char* display, const std::string& valore) {
  return "<entry><fullUrl value=\"" + uuid +
         "\"/><resource><Observation><identifier><use value=\"" + uso + "\"/><value value=\"" +
         codice +
         "\"/></identifier><status value=\"registered\"/>"
         "<category><coding><system value=\"urn:oid:2.16.840.1.113883.2.9.2.50.6.14.20\"/>"
         "<code value=\"MGI\"/><display value=\"Indicatori obbligatori MGI\"/></coding></category>"
         "<code><coding><system value=\"urn:oid:2.16.840.1.113883.2.9.2.50.6.14.21\"/><code "
         "value=\"" +
         codice + "\"/><display value=\"" + display +
         "\"/></coding></code><effectivePeriod>"
         "<start value=\"2026-01-01\"/><end value=\"2026-02-28\"/></effectivePeriod><performer>"
         "<reference value=\"Practitioner/" +
         fhir::kIdPractitioner + "\"/></performer>" + valore +
         "</Observation></resource><request><method value=\"POST\"/><url value=\"/Observation\"/>"
         "</request></entry>";
}

std::string FlussoPa() {
  const std::string primo = "urn:uuid:5b1d2e63-7c8f-4e9b-8d21-000000000001";
  const std::string secondo = "urn:uuid:5b1d2e63-7c8f-4e9b-8d21-000000000002";
  return Transazione(
      Intestazione("urn:uuid:5dfe3acf-d651-4e99-9f6f-f3c81f8d9450",
                   "<focus><reference value=\"" + primo + "\"/></focus><focus><reference value=\"" +
                       secondo + "\"/></focus>") +
      Indicatore(primo, "official", "PA01", "Pazienti diabetici con emoglobina glicata",
                 "<valueRatio><numerator><value value=\"42\"/></numerator><denominator><value "
                 "value=\"60\"/></denominator></valueRatio>") +
      Indicatore(secondo, "usual", "PA07", "Vaccinati antinfluenzali over 65",
                 "<valueQuantity><value value=\"71.5\"/><unit value=\"%\"/></valueQuantity>"));
}

// The id of the first resource of `tipo` a transaction-response names.
std::string IdDa(const std::string& risposta, const std::string& tipo) {
  const std::string segno = "<location value=\"" + tipo + "/";
  const auto inizio = risposta.find(segno) + segno.size();
  return risposta.substr(inizio, risposta.find('/', inizio) - inizio);
}

std::string Esegui(fhir::Archivio& archivio, const std::string& bundle, const char* id) {
  const util::libxml::Documento doc =
      util::libxml::LeggiMemoria(bundle, nullptr, nullptr, XML_PARSE_NONET);
  return fhir::EseguiTransazione(doc.get(), archivio, kIstante, id).corpo;
}

}  // namespace

std::vector<std::pair<std::string, std::string>> ServiziFhir::FileSimulatore() {
  fhir::Archivio archivio;
  const auto consulta = [&archivio](const std::string& percorso, const std::string& query) {
    return fhir::Consulta(archivio, percorso, query, kBase, kIstante, "simulatore").corpo;
  };
  const std::string acn = Esegui(archivio, FlussoAcn(), "simulatore-acn");
  // The same plan cancelled: event "update", the CarePlan "cancelled".
  std::string annullamento = FlussoAcn();
  for (const auto& [da, a] :
       {std::pair<std::string, std::string>{"<code value=\"create\"/>", "<code value=\"update\"/>"},
        {"<CarePlan><status value=\"active\"/>", "<CarePlan><status value=\"cancelled\"/>"},
        {"<Observation><status value=\"final\"/>",
         "<Observation><status value=\"entered-in-error\"/>"}}) {
    annullamento.replace(annullamento.find(da), da.size(), a);
  }
  // On a store of its own, so the other files are those of the plan in force.
  fhir::Archivio annullato;
  Esegui(annullato, FlussoAcn(), "simulatore-acn");
  const std::string elimina = Esegui(annullato, annullamento, "simulatore-acn-elimina");
  const std::string pa = Esegui(archivio, FlussoPa(), "simulatore-pa");
  const std::string cf = std::string(fhir::kOidCodiceFiscale) + "|";
  std::vector<std::pair<std::string, std::string>> file{
      {"InvioFlussoACN", acn},
      {"InvioFlussoACN/Elimina", elimina},
      {"RecuperoCarePlan", consulta("CarePlan/" + IdDa(acn, "CarePlan"), "")},
      {"RicercaCarePlan",
       consulta("CarePlan", "patient.identifier=" + cf + regione::kPazienteRossi +
                                "&date=ge2026-02-01&date=le2026-02-28")},
      {"InvioIndicatoriPA", pa},
      {"RecuperoIndicatoriPA", consulta("Observation/" + IdDa(pa, "Observation"), "")},
      {"RicercaFlussoPA", consulta("Observation", "performer.identifier=" + cf + regione::kMedico +
                                                      "&date=ge2026-01-01&date=le2026-02-28")},
      {"DaiIDRisorsaPA", consulta("Practitioner", "identifier=" + cf + regione::kMedico)},
      {"DaiIDRisorsaACN", consulta("Practitioner", "identifier=" + cf + regione::kMedico)},
      {"DaiRisorsaPatient", consulta("Patient/" + std::string(fhir::kIdPatientRossi), "")},
  };
  for (auto& voce : file) {
    voce.first += voce.first.find('/') == std::string::npos ? "/" + voce.first + ".xml" : ".xml";
  }
  return file;
}

}  // namespace qzkiro::sandbox
