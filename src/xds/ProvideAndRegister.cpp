#include "xds/ProvideAndRegister.h"

#include <algorithm>
#include <cctype>

namespace qzkiro::xds {

namespace {

using util::clsXML;
using Nodo = clsXML::Nodo;

constexpr const char* kAddressing = "http://www.w3.org/2005/08/addressing";
constexpr const char* kWsse =
    "http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-wssecurity-secext-1.0.xsd";
constexpr const char* kTipoClassificazione =
    "urn:oasis:names:tc:ebxml-regrep:ObjectType:RegistryObject:Classification";
constexpr const char* kTipoIdentificativo =
    "urn:oasis:names:tc:ebxml-regrep:ObjectType:RegistryObject:ExternalIdentifier";
constexpr const char* kSchemaEventi = "urn:uuid:2c6b8cb7-8b2a-4051-b291-b1ae6a575ef4";
constexpr const char* kSistemaEventi = "2.16.840.1.113883.2.9.2.50.6.30";
constexpr const char* kCodiceFiscaleIso = "^^^&2.16.840.1.113883.2.9.4.3.2&ISO";
constexpr const char* kMpiIso = "^^^&2.16.840.1.113883.2.9.2.50.4.1.2&ISO";
constexpr const char* kSottomissione = "SubmissionSet01";

std::string Minuscolo(std::string testo) {
  std::transform(testo.begin(), testo.end(), testo.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return testo;
}

std::string OidMedico(const AutoreInvio& autore) {
  return "2.16.840.1.113883.2.9.2.50.2." + autore.CodiceRegionale;
}

void Slot(clsXML& x, Nodo padre, const std::string& nome, const std::vector<std::string>& valori) {
  Nodo lista = x.AddNode(x.AddNode(padre, "ns2:Slot", "", {"name", nome}), "ns2:ValueList");
  for (const std::string& valore : valori) x.AddNode(lista, "ns2:Value", valore);
}

void Nome(clsXML& x, Nodo padre, const std::string& valore) {
  x.AddNode(x.AddNode(padre, "ns2:Name"), "ns2:LocalizedString", "", {"value", valore});
}

Nodo Classificazione(clsXML& x, Nodo padre, const std::string& id, const std::string& schema,
                     const std::string& nodo) {
  return x.AddNode(padre, "ns2:Classification", "",
                   {"nodeRepresentation", nodo, "classifiedObject", x.GetAttribute(padre, "id"),
                    "classificationScheme", schema, "objectType", kTipoClassificazione, "id", id});
}

void Codificata(clsXML& x, Nodo padre, const std::string& id, const std::string& schema,
                const std::string& sistema, const std::string& codice, const std::string& nome) {
  Nodo c = Classificazione(x, padre, id, schema, codice);
  Slot(x, c, "codingScheme", {sistema});
  Nome(x, c, nome);
}

void Codificata(clsXML& x, Nodo padre, const std::string& id, const std::string& schema,
                const std::string& sistema, const Codifica& codifica) {
  Codificata(x, padre, id, schema, sistema, codifica.codice, codifica.descrizione);
}

void Identificativo(clsXML& x, Nodo padre, const std::string& id, const std::string& schema,
                    const std::string& valore, const std::string& nome) {
  Nodo e = x.AddNode(padre, "ns2:ExternalIdentifier", "",
                     {"value", valore, "identificationScheme", schema, "registryObject",
                      x.GetAttribute(padre, "id"), "objectType", kTipoIdentificativo, "id", id});
  Nome(x, e, nome);
}

// The unit as code " - " name where both are known.
std::string Struttura(const AutoreInvio& a) {
  if (a.CodiceASL.empty() || a.DenominazioneASL.empty()) return a.CodiceASL + a.DenominazioneASL;
  return a.CodiceASL + " - " + a.DenominazioneASL;
}

// The author slots shared by document entries and the submission set; the
// telecom only when `recapito`.
void SlotAutore(clsXML& x, Nodo classificazione, const AutoreInvio& a, bool recapito = true) {
  Slot(x, classificazione, "authorPerson",
       {a.CodiceFiscale + "^" + a.Cognome + "^" + a.Nome +
        "^^^^^^&2.16.840.1.113883.2.9.4.3.2&ISO"});
  Slot(x, classificazione, "authorInstitution",
       {"ASL " + Struttura(a) + "^^^^^&2.16.840.1.113883.2.9.4.1.1&ISO^^^^" + a.CodiceRegioneASL +
        a.CodiceASL});
  if (!recapito) return;
  if (!a.Email.empty()) {
    Slot(x, classificazione, "authorTelecommunication", {"^NET^Internet^" + a.Email});
  } else if (!a.Telefono.empty()) {
    Slot(x, classificazione, "authorTelecommunication", {"^WPN^PH^^^^^^^^^" + a.Telefono});
  }
}

std::vector<std::string> InfoPaziente(const PazienteInvio& p, bool recapito) {
  std::vector<std::string> v = {
      "PID-3|" + p.CodiceFiscale + kCodiceFiscaleIso,
      "PID-5|" + p.Cognome + "^" + p.Nome + "^^^",
      "PID-7|" + p.DataNascita,
      "PID-8|" + p.Sesso,
      "PID-11|" + p.Indirizzo + "^^" + p.Citta + "^" + p.Provincia + "^" + p.CAP + "^ITA^H",
      "PID-11|^^" + p.CittaNascita + "^" + p.ProvinciaNascita + "^^" + p.StatoNascita + "^N"};
  const std::string& contatto = p.Email.empty() ? p.Telefono : p.Email;
  if (recapito && !contatto.empty()) v.push_back("PID-13|^^^" + contatto);
  return v;
}

void Documento(clsXML& x, Nodo lista, const InvioDocumenti& invio, const DocumentoInvio& d) {
  Nodo e = x.AddNode(lista, "ns2:ExtrinsicObject", "",
                     {"mimeType", "application/xml", "objectType",
                      "urn:uuid:7edca82f-054d-47f2-a032-9b2a5b5186c1", "id", d.id});
  const ProfiloVoce& v = d.profilo;
  Slot(x, e, "creationTime", {invio.marca_temporale});
  Slot(x, e, "languageCode", {"it-IT"});
  Slot(x, e, "serviceStartTime", {invio.marca_temporale});
  if (!v.fine_servizio.empty()) Slot(x, e, "serviceStopTime", {v.fine_servizio});
  Slot(x, e, "sourcePatientId", {invio.paziente.CodiceFiscale + kCodiceFiscaleIso});
  Slot(x, e, "sourcePatientInfo", InfoPaziente(invio.paziente, v.recapiti));
  Nome(x, e, v.nome);
  Nodo autore =
      Classificazione(x, e, d.id + "_cl01", "urn:uuid:93606bcf-9494-43ec-9b4e-a7748d1a838d", "");
  SlotAutore(x, autore, invio.autore, v.recapiti);
  Slot(x, autore, "authorRole", {"R.1.1"});
  Codificata(x, e, d.id + "_cl02", "urn:uuid:41a5887f-8865-4c09-adf7-e362475b143a",
             v.classe.schema, v.classe);
  Codificata(x, e, d.id + "_cl03", "urn:uuid:f4f85eac-e6cb-4883-b524-f2705394840f",
             v.riservatezza.schema, v.riservatezza);
  Codificata(x, e, d.id + "_cl04", "urn:uuid:a09d5840-386c-46f2-b5ad-9c3699a4309d",
             v.formato.schema, v.formato);
  Codificata(x, e, d.id + "_cl05", "urn:uuid:f33fb8ac-18af-42cc-ae0e-ed0b0bdb91e1",
             "regioneveneto healthcareFacilityTypeCodes v1", "Territorio", "Territorio");
  Codificata(x, e, d.id + "_cl06", "urn:uuid:cccf5598-8b07-4b77-a05e-ae952c785ead",
             "regioneveneto practiceSettingCodes v1", "026", "Medicina Generale");
  Codificata(x, e, d.id + "_cl07", "urn:uuid:f0306f51-975f-434e-a61c-c59651d33983",
             v.sistema_tipo, d.tipo);
  if (!d.evento.codice.empty()) {
    Codificata(x, e, d.id + "_cl08", kSchemaEventi, kSistemaEventi, d.evento);
  }
  if (d.evento_tutore)
    Codificata(x, e, d.id + "_cl09", kSchemaEventi, kSistemaEventi, *d.evento_tutore);
  Identificativo(x, e, d.id + "Ei01", "urn:uuid:58a6f841-87b3-4a3e-92fd-a8ffeff98427",
                 invio.paziente.MPI + kMpiIso, "XDSDocumentEntry.patientId");
  Identificativo(x, e, "urn:uuid:" + Minuscolo(d.guid),
                 "urn:uuid:2e82c1f6-a085-4c72-9da3-8640a32e42ab",
                 OidMedico(invio.autore) + d.profilo.radice_unico + "^" + d.id_unico,
                 "XDSDocumentEntry.uniqueId");
}

void Sottomissione(clsXML& x, Nodo lista, const InvioDocumenti& invio) {
  Nodo p = x.AddNode(
      lista, "ns2:RegistryPackage", "",
      {"objectType", "urn:oasis:names:tc:ebxml-regrep:ObjectType:RegistryObject:RegistryPackage",
       "id", kSottomissione});
  Slot(x, p, "submissionTime", {invio.marca_temporale});
  Nodo autore = Classificazione(x, p, "SubmissionSetcl01",
                                "urn:uuid:a7058bb9-b4e4-4307-ba5b-e3f0ab85e12d", "");
  SlotAutore(x, autore, invio.autore);
  Slot(x, autore, "authorSpecialty", {"Medicina Generale"});
  Codificata(x, p, "SubmissionSetcl02", "urn:uuid:aa543740-bdda-424e-8c96-df4873be8500",
             "regioneveneto contentTypeCodes v1", "rv_ctc_0130", "MMG");
  Identificativo(x, p, "SubmissionSet01Ei01", "urn:uuid:96fdda7c-d067-4183-912e-bf5ee74998a8",
                 OidMedico(invio.autore) + ".4.20." + invio.id_unico, "XDSSubmissionSet.uniqueId");
  Identificativo(x, p, "SubmissionSet01Ei02", "urn:uuid:554ac39e-e3fe-47fe-b233-965d2a147832",
                 OidMedico(invio.autore) + ".4.5.1", "XDSSubmissionSet.sourceId");
  Identificativo(x, p, "SubmissionSet01Ei03", "urn:uuid:6b5aea1a-874d-4603-a4bc-96a0a7b38446",
                 invio.paziente.MPI + kMpiIso, "XDSSubmissionSet.patientId");
  // Marks the package as a submission set. The registry schema wants a
  // package's classifications before its identifiers, so this one stands
  // beside the package, as IHE's own examples place it.
  x.AddNode(lista, "ns2:Classification", "",
            {"classificationNode", "urn:uuid:a54d6aa5-d40d-43f9-88c5-b4633d873bdd",
             "classifiedObject", kSottomissione, "objectType", kTipoClassificazione, "id", "clSS"});
}

void Associazioni(clsXML& x, Nodo lista, const DocumentoInvio& d) {
  Nodo membro =
      x.AddNode(lista, "ns2:Association", "",
                {"associationType", "urn:oasis:names:tc:ebxml-regrep:AssociationType:HasMember",
                 "sourceObject", kSottomissione, "targetObject", d.id, "id", d.id_associazione});
  Slot(x, membro, "SubmissionSetStatus", {"Original"});
  if (d.sostituito.empty()) return;
  x.AddNode(lista, "ns2:Association", "",
            {"associationType", "urn:ihe:iti:2007:AssociationType:RPLC", "sourceObject", d.id,
             "targetObject", d.sostituito, "id", d.id_sostituzione});
}

void Intestazione(clsXML& x, Nodo busta, const InvioDocumenti& invio) {
  Nodo header = x.AddNode(busta, "S:Header");
  x.SetDefaultNameSpace(kAddressing);
  x.AddNode(header, "To", invio.to);
  x.AddNode(header, "Action", "urn:ihe:iti:2007:ProvideAndRegisterDocumentSet-b");
  x.AddNode(x.AddNode(header, "ReplyTo"), "Address",
            "http://www.w3.org/2005/08/addressing/anonymous");
  x.AddNode(header, "MessageID", "urn:uuid:" + Minuscolo(invio.message_id));
  x.SetDefaultNameSpace("");
  x.AddNode(header, "wsse:Security", "[Asserzione]", {"xmlns:wsse", kWsse});
}

}  // namespace

ProfiloVoce ProfiloPatientSummary(const std::string& fine_servizio) {
  ProfiloVoce v;
  v.nome = "Profilo Sanitario Sintetico";
  v.classe = {"rv_cc_2003", "Sommario", "regioneveneto classCodes v1"};
  v.riservatezza = {"M", "Documenti non soggetti a restrizioni di visibilità",
                    "2.16.840.1.113883.2.9.2.50.6.34.8"};
  v.formato = {"urn:oid:2.16.840.1.113883.2.9.10.2.4.1.1.1", "Profilo Sanitario Sintetico",
               "regioneveneto formatCodes v1"};
  v.sistema_tipo = "2.16.840.1.113883.6.1";
  v.radice_unico = ".4.4.2";
  v.recapiti = false;
  v.fine_servizio = fine_servizio;
  return v;
}

util::clsXML BustaProvideAndRegister(const InvioDocumenti& invio) {
  clsXML x;
  Nodo busta = x.CreateRootNode("S:Envelope");
  x.AddAttribute(busta, "xmlns:S", "http://www.w3.org/2003/05/soap-envelope");
  Intestazione(x, busta, invio);
  Nodo richiesta =
      x.AddNode(x.AddNode(busta, "S:Body"), "ns5:ProvideAndRegisterDocumentSetRequest", "",
                {"xmlns:ns5", "urn:ihe:iti:xds-b:2007", "xmlns:ns4",
                 "urn:oasis:names:tc:ebxml-regrep:xsd:lcm:3.0", "xmlns:ns3",
                 "urn:oasis:names:tc:ebxml-regrep:xsd:rs:3.0", "xmlns:ns2",
                 "urn:oasis:names:tc:ebxml-regrep:xsd:rim:3.0", "xmlns",
                 "urn:oasis:names:tc:ebxml-regrep:xsd:query:3.0"});
  Nodo lista =
      x.AddNode(x.AddNode(richiesta, "ns4:SubmitObjectsRequest"), "ns2:RegistryObjectList");
  for (const DocumentoInvio& d : invio.documenti) Documento(x, lista, invio, d);
  Sottomissione(x, lista, invio);
  for (const DocumentoInvio& d : invio.documenti) Associazioni(x, lista, d);
  for (const DocumentoInvio& d : invio.documenti) {
    x.AddNode(
        x.AddNode(richiesta, "ns5:Document", "", {"id", d.id}), "xop:Include", "",
        {"xmlns:xop", "http://www.w3.org/2004/08/xop/include", "href", "cid:" + d.parte_mime});
  }
  return x;
}

}  // namespace qzkiro::xds
