#include "xds/RispostaRegistro.h"

#include <array>
#include <utility>

#include "util/clsXML.h"

namespace qzkiro::xds {

namespace {

using util::clsXML;
using Nodo = clsXML::Nodo;

constexpr std::string_view kSuccesso = "urn:oasis:names:tc:ebxml-regrep:ResponseStatusType:Success";

Nodo Figlio(Nodo padre, std::string_view nome) {
  for (Nodo n : clsXML::Figli(padre)) {
    if (clsXML::HaNome(n, nome)) return n;
  }
  return nullptr;
}

// Name/LocalizedString/@value.
std::string NomeLocalizzato(Nodo padre) {
  return clsXML::Attributo(Figlio(Figlio(padre, "Name"), "LocalizedString"), "value");
}

std::vector<std::string> ValoriSlot(Nodo slot) {
  std::vector<std::string> valori;
  for (Nodo v : clsXML::Figli(Figlio(slot, "ValueList"))) {
    if (clsXML::HaNome(v, "Value")) valori.push_back(clsXML::Testo(v));
  }
  return valori;
}

std::string PrimoValore(Nodo slot) {
  Nodo v = Figlio(Figlio(slot, "ValueList"), "Value");
  return v ? clsXML::Testo(v) : std::string();
}

// Which field of the entry a classification fills: first by the coding
// scheme the region names, then by the classification scheme of the XDS.b
// metadata, so that answers of other registries read the same way.
Codifica VoceRegistro::*Ruolo(std::string_view schema, std::string_view uuid) {
  static constexpr std::array<std::pair<std::string_view, Codifica VoceRegistro::*>, 5> kPerNome{{
      {"regioneveneto formatCodes v1", &VoceRegistro::formato},
      {"regioneveneto practiceSettingCodes v1", &VoceRegistro::reparto},
      {"regioneveneto classCodes v1", &VoceRegistro::classe},
      {"regioneveneto healthcareFacilityTypeCodes v1", &VoceRegistro::struttura},
      {"2.16.840.1.113883.6.1", &VoceRegistro::tipo},
  }};
  static constexpr std::array<std::pair<std::string_view, Codifica VoceRegistro::*>, 5> kPerUuid{{
      {"urn:uuid:a09d5840-386c-46f2-b5ad-9c3699a4309d", &VoceRegistro::formato},
      {"urn:uuid:cccf5598-8b07-4b77-a05e-ae952c785ead", &VoceRegistro::reparto},
      {"urn:uuid:41a5887f-8865-4c09-adf7-e362475b143a", &VoceRegistro::classe},
      {"urn:uuid:f33fb8ac-18af-42cc-ae0e-ed0b0bdb91e1", &VoceRegistro::struttura},
      {"urn:uuid:f0306f51-975f-434e-a61c-c59651d33983", &VoceRegistro::tipo},
  }};
  for (const auto& [nome, campo] : kPerNome) {
    if (schema == nome) return campo;
  }
  for (const auto& [id, campo] : kPerUuid) {
    if (uuid == id) return campo;
  }
  return nullptr;
}

void LeggiClassificazione(Nodo c, VoceRegistro& voce) {
  Codifica codifica;
  codifica.codice = clsXML::Attributo(c, "nodeRepresentation");
  codifica.descrizione = NomeLocalizzato(c);
  for (Nodo s : clsXML::Figli(c)) {
    if (clsXML::HaNome(s, "Slot") && clsXML::Attributo(s, "name") == "codingScheme") {
      codifica.schema = PrimoValore(s);
    }
  }
  if (codifica.codice.empty() && codifica.descrizione.empty()) return;  // author and the like
  auto campo = Ruolo(codifica.schema, clsXML::Attributo(c, "classificationScheme"));
  if (campo && (voce.*campo).codice.empty()) voce.*campo = codifica;
  voce.classificazioni.push_back(std::move(codifica));
}

void LeggiIdentificatore(Nodo e, VoceRegistro& voce) {
  const std::string nome = NomeLocalizzato(e);
  const std::string schema = clsXML::Attributo(e, "identificationScheme");
  const std::string valore = clsXML::Attributo(e, "value");
  if (nome == "XDSDocumentEntry.uniqueId" ||
      schema == "urn:uuid:2e82c1f6-a085-4c72-9da3-8640a32e42ab") {
    voce.id_documento = valore;
  } else if (nome == "XDSDocumentEntry.patientId" ||
             schema == "urn:uuid:58a6f841-87b3-4a3e-92fd-a8ffeff98427") {
    voce.id_paziente = valore;
  }
}

void LeggiSlot(Nodo s, VoceRegistro& voce) {
  const std::string nome = clsXML::Attributo(s, "name");
  if (nome == "creationTime") {
    voce.creazione = PrimoValore(s);
  } else if (nome == "serviceStartTime") {
    voce.inizio = PrimoValore(s);
  } else if (nome == "repositoryUniqueId") {
    voce.repository = PrimoValore(s);
  } else if (nome == "sourcePatientInfo") {
    voce.info_paziente = ValoriSlot(s);
  } else if (nome == "urn:ihe:iti:xds:2013:referenceIdList") {
    voce.riferimenti = ValoriSlot(s);
  }
}

VoceRegistro LeggiVoce(Nodo oggetto) {
  VoceRegistro voce;
  voce.mime_type = clsXML::Attributo(oggetto, "mimeType");
  for (Nodo n : clsXML::Figli(oggetto)) {
    if (clsXML::HaNome(n, "Slot")) {
      LeggiSlot(n, voce);
    } else if (clsXML::HaNome(n, "Classification")) {
      LeggiClassificazione(n, voce);
    } else if (clsXML::HaNome(n, "ExternalIdentifier")) {
      LeggiIdentificatore(n, voce);
    } else if (clsXML::HaNome(n, "Name")) {
      voce.titolo = clsXML::Attributo(Figlio(n, "LocalizedString"), "value");
    }
  }
  return voce;
}

std::string Righe(const std::vector<std::string>& righe) {
  std::string testo;
  for (const auto& r : righe) testo += (testo.empty() ? "" : "\r\n") + r;
  return testo;
}

// The region's own error list: EntriesResponse/errori with codice and descrizione.
std::string ErroriRegione(Nodo risposta) {
  std::vector<std::string> righe;
  for (Nodo e : clsXML::Figli(risposta)) {
    if (!clsXML::HaNome(e, "errori")) continue;
    const std::string codice = clsXML::Testo(Figlio(e, "codice"));
    const std::string descrizione = clsXML::Testo(Figlio(e, "descrizione"));
    if (codice.empty() && descrizione.empty()) {
      righe.emplace_back("Errore non specificato");
    } else {
      righe.push_back(codice.empty() ? descrizione : codice + " - " + descrizione);
    }
  }
  return righe.empty() ? "Errore non specificato" : Righe(righe);
}

std::string ErroriEbXml(Nodo elenco) {
  std::vector<std::string> righe;
  for (Nodo e : clsXML::Figli(elenco)) {
    if (!clsXML::HaNome(e, "RegistryError")) continue;
    std::string testo = clsXML::Attributo(e, "codeContext");
    if (testo.empty()) testo = clsXML::Attributo(e, "errorCode");
    righe.push_back(testo.empty() ? "Errore non specificato" : testo);
  }
  return Righe(righe);
}

std::string TestoFault(Nodo fault) {
  std::string codice = clsXML::Testo(Figlio(fault, "faultcode"));
  std::string testo = clsXML::Testo(Figlio(fault, "faultstring"));
  if (codice.empty()) codice = clsXML::Testo(Figlio(Figlio(fault, "Code"), "Value"));
  if (testo.empty()) testo = clsXML::Testo(Figlio(Figlio(fault, "Reason"), "Text"));
  if (codice.empty()) return testo;
  return testo.empty() ? codice : codice + " - " + testo;
}

void LeggiRisposta(Nodo risposta, RispostaRegistro& r) {
  const std::string stato = clsXML::Attributo(risposta, "status");
  if (stato != kSuccesso) {
    const std::string errori = ErroriEbXml(Figlio(risposta, "RegistryErrorList"));
    r.errore = !errori.empty() ? errori
               : stato.empty() ? "Risposta del registro senza esito"
                               : "Il registro ha risposto con esito " + stato;
    return;
  }
  for (Nodo n : clsXML::Figli(Figlio(risposta, "RegistryObjectList"))) {
    if (clsXML::HaNome(n, "ExtrinsicObject")) r.voci.push_back(LeggiVoce(n));
  }
}

}  // namespace

RispostaRegistro LeggiRispostaRegistro(std::string_view testo) {
  RispostaRegistro r;
  clsXML xml;
  if (testo.empty() || !xml.LoadXML(std::string(testo))) {
    r.errore = "La risposta del registro non è un documento XML";
    return r;
  }
  r.xml = true;
  Nodo nodo = xml.rootNode();
  if (clsXML::HaNome(nodo, "Envelope")) nodo = clsXML::PrimoElemento(Figlio(nodo, "Body"));
  if (clsXML::HaNome(nodo, "Fault")) {
    r.errore = TestoFault(nodo);
  } else if (clsXML::HaNome(nodo, "EntriesResponse")) {
    r.errore = ErroriRegione(nodo);
  } else if (clsXML::HaNome(nodo, "AdhocQueryResponse")) {
    LeggiRisposta(nodo, r);
  } else {
    r.errore = "Risposta del registro non riconosciuta";
  }
  return r;
}

bool TipoEscluso(const VoceRegistro& voce) {
  const std::string& tipo = voce.tipo.descrizione;
  return tipo == "Richiesta (order)" || tipo == "Documento di Workflow" || tipo == "Dispensazione";
}

bool PiuRecente(const std::string& data, const std::string& rispetto) {
  std::string a = data.substr(0, 14), b = rispetto.substr(0, 14);
  a.resize(14, '0');
  b.resize(14, '0');
  return a > b;
}

std::string InfoPaziente(const VoceRegistro& voce, std::string_view campo) {
  for (const auto& riga : voce.info_paziente) {
    if (riga.size() > campo.size() && riga.compare(0, campo.size(), campo) == 0 &&
        riga[campo.size()] == '|') {
      return riga.substr(campo.size() + 1);
    }
  }
  return {};
}

}  // namespace qzkiro::xds
