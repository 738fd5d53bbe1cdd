#include "sandbox/FhirDati.h"

#include <algorithm>
#include <stdexcept>

#include "sandbox/FseDati.h"
#include "sandbox/RegioneHl7.h"
#include "sandbox/Scambio.h"
#include "util/Libxml.h"

namespace qzkiro::sandbox::fhir {

namespace libxml = util::libxml;

// ---- Reading ---------------------------------------------------------------------------

std::string_view Nome(const xmlNode* nodo) {
  return nodo && nodo->type == XML_ELEMENT_NODE ? libxml::Vista(nodo->name) : std::string_view();
}

std::string Attributo(const xmlNode* nodo, const char* nome) {
  if (!nodo) return {};
  return libxml::Possiedi(xmlGetProp(nodo, reinterpret_cast<const xmlChar*>(nome)));
}

xmlNode* PrimoElemento(xmlNode* nodo) {
  for (xmlNode* n = nodo ? nodo->children : nullptr; n; n = n->next) {
    if (n->type == XML_ELEMENT_NODE) return n;
  }
  return nullptr;
}

std::vector<xmlNode*> Nodi(xmlNode* da, std::string_view percorso) {
  std::vector<xmlNode*> correnti;
  if (da) correnti.push_back(da);
  while (!percorso.empty() && !correnti.empty()) {
    const auto barra = percorso.find('/');
    const std::string_view passo = percorso.substr(0, barra);
    percorso = barra == std::string_view::npos ? std::string_view() : percorso.substr(barra + 1);
    std::vector<xmlNode*> figli;
    for (xmlNode* c : correnti) {
      for (xmlNode* n = c->children; n; n = n->next) {
        if (Nome(n) == passo) figli.push_back(n);
      }
    }
    correnti = std::move(figli);
  }
  return correnti;
}

std::string Valore(xmlNode* da, std::string_view percorso) {
  const auto nodi = Nodi(da, percorso);
  return nodi.empty() ? std::string() : Attributo(nodi.front(), "value");
}

std::string Serializza(xmlNode* nodo) {
  // A copy as the root of a document of its own declares the namespaces
  // its ancestors declared.
  libxml::Documento doc(xmlNewDoc(BAD_CAST "1.0"));
  xmlNode* copia = xmlDocCopyNode(nodo, doc.get(), 1);
  xmlDocSetRootElement(doc.get(), copia);
  xmlReconciliateNs(doc.get(), copia);
  libxml::Buffer buffer(xmlBufferCreate());
  xmlNodeDump(buffer.get(), doc.get(), copia, 0, 0);
  return std::string(reinterpret_cast<const char*>(xmlBufferContent(buffer.get())),
                     static_cast<std::size_t>(xmlBufferLength(buffer.get())));
}

// ---- The store ---------------------------------------------------------------------------

namespace {

std::string Chiave(std::string_view tipo, std::string_view id) {
  return std::string(tipo) + "/" + std::string(id);
}

// The resource's id and meta, first among its children as FHIR orders them.
void ImpostaIdEMeta(xmlNode* r, const std::string& id, int versione, const std::string& adesso) {
  for (xmlNode* n = r->children; n;) {
    xmlNode* prossimo = n->next;
    if (Nome(n) == "id" || Nome(n) == "meta") {
      xmlUnlinkNode(n);
      xmlFreeNode(n);
    }
    n = prossimo;
  }
  xmlNode* nodo_id = xmlNewNode(r->ns, BAD_CAST "id");
  xmlNewProp(nodo_id, BAD_CAST "value", libxml::X(id));
  xmlNode* meta = xmlNewNode(r->ns, BAD_CAST "meta");
  xmlNewProp(xmlNewChild(meta, r->ns, BAD_CAST "versionId", nullptr), BAD_CAST "value",
             libxml::X(std::to_string(versione)));
  xmlNewProp(xmlNewChild(meta, r->ns, BAD_CAST "lastUpdated", nullptr), BAD_CAST "value",
             libxml::X(adesso));
  if (xmlNode* primo = r->children) {
    xmlAddPrevSibling(primo, nodo_id);
  } else {
    xmlAddChild(r, nodo_id);
  }
  xmlAddNextSibling(nodo_id, meta);
}

std::string V(std::string_view nome, std::string_view valore) {
  return "<" + std::string(nome) + " value=\"" + EscapeXml(valore) + "\"/>";
}

std::string Identificativo(std::string_view uso, std::string_view sistema, std::string_view v) {
  return "<identifier>" + (uso.empty() ? std::string() : V("use", uso)) + V("system", sistema) +
         V("value", v) + "</identifier>";
}

// A Patient of the fixed patients. The regional server marks a withdrawn
// Patient with a "status" of "cancelled" (an element STU3 Patient lacks),
// which is what clients look at before reusing an id.
std::string Paziente(std::string_view cf, bool annullato) {
  const fse::PazienteFse* p = fse::CercaPaziente(cf);
  if (!p) throw std::logic_error("paziente fisso sconosciuto");
  const std::string nome = std::string(p->cognome) + " " + std::string(p->nome);
  return std::string("<Patient xmlns=\"") + kNs + "\">" +
         (annullato ? V("status", "cancelled") : std::string()) +
         Identificativo("official", kOidMpi, p->mpi) +
         Identificativo("official", kOidCodiceFiscale, p->cf) +
         V("active", annullato ? "false" : "true") + "<name>" + V("text", nome) +
         V("family", p->cognome) + V("given", p->nome) + "</name>" +
         V("gender", p->sesso == "F" ? "female" : "male") + "</Patient>";
}

std::string Medico() {
  return std::string("<Practitioner xmlns=\"") + kNs + "\">" +
         Identificativo({}, kOidMedicoRegionale, kCodiceRegionaleMedico) +
         Identificativo({}, kOidCodiceFiscale, regione::kMedico) + V("active", "true") + "<name>" +
         V("family", "ROSSI") + V("given", "MARIO") + "</name><qualification><code>" + "<coding>" +
         V("system", "urn:oid:2.16.840.1.113883.2.9.2.50.4.15") + V("code", "1") +
         "</coding><coding>" + V("system", "urn:oid:2.16.840.1.113883.2.9.5.1.111") +
         V("code", "MMG") + V("display", "Medico di Medicina Generale") +
         "</coding></code></qualification></Practitioner>";
}

std::string Struttura() {
  return std::string("<Organization xmlns=\"") + kNs + "\">" +
         Identificativo({}, kOidAzienda, kAzienda) + V("active", "true") +
         V("name", std::string("ULSS ") + kAzienda) + "</Organization>";
}

}  // namespace

Archivio::Archivio() {
  const std::pair<const char*, std::string> fissi[] = {
      {kIdPatientRossi, Paziente(regione::kPazienteRossi, false)},
      {kIdPatientBianchiAnnullato, Paziente(regione::kPazienteBianchi, true)},
      {kIdPatientVerdi, Paziente(regione::kPazienteVerdi, false)},
      {kIdPractitioner, Medico()},
      {kIdOrganization, Struttura()},
  };
  for (const auto& [id, xml] : fissi) {
    const libxml::Documento doc = libxml::LeggiMemoria(xml, nullptr, nullptr, XML_PARSE_NONET);
    Salva(xmlDocGetRootElement(doc.get()), id, kIstanteIniziale);
  }
}

const Risorsa* Archivio::Attuale(std::string_view tipo, std::string_view id) const {
  const auto it = storia_.find(Chiave(tipo, id));
  return it == storia_.end() ? nullptr : &it->second.back();
}

const Risorsa* Archivio::Versione(std::string_view tipo, std::string_view id, int n) const {
  const auto it = storia_.find(Chiave(tipo, id));
  if (it == storia_.end() || n < 1 || static_cast<std::size_t>(n) > it->second.size()) {
    return nullptr;
  }
  return &it->second[static_cast<std::size_t>(n) - 1];
}

std::vector<const Risorsa*> Archivio::DelTipo(std::string_view tipo) const {
  std::vector<const Risorsa*> trovate;
  for (const std::string& chiave : ordine_) {
    const Risorsa& r = storia_.find(chiave)->second.back();
    if (r.tipo == tipo) trovate.push_back(&r);
  }
  return trovate;
}

std::vector<const Risorsa*> Archivio::ConIdentificativo(std::string_view tipo,
                                                        std::string_view sistema,
                                                        std::string_view valore) const {
  std::vector<const Risorsa*> trovate;
  const std::string chiave =
      std::string(tipo) + "|" + std::string(sistema) + "|" + std::string(valore);
  auto it = identificativi_.find(chiave);
  if (it == identificativi_.end()) return trovate;
  for (std::size_t posizione : it->second) {
    trovate.push_back(&storia_.find(ordine_[posizione])->second.back());
  }
  return trovate;
}

const Risorsa* Archivio::Riferita(std::string_view riferimento) const {
  const auto barra = riferimento.find('/');
  if (barra == std::string_view::npos) return nullptr;
  return Attuale(riferimento.substr(0, barra), riferimento.substr(barra + 1));
}

std::string Archivio::NuovoId() {
  return std::to_string(prossimo_++);
}

xmlNode* Risorsa::Radice() const {
  if (!letto) {
    letto.reset(libxml::LeggiMemoria(xml, nullptr, nullptr, XML_PARSE_NONET).release(), xmlFreeDoc);
  }
  return letto ? xmlDocGetRootElement(letto.get()) : nullptr;
}

const Risorsa& Archivio::Salva(xmlNode* risorsa, const std::string& id, const std::string& adesso) {
  const std::string tipo(Nome(risorsa));
  auto [it, nuova] = storia_.try_emplace(Chiave(tipo, id));
  if (nuova) ordine_.push_back(it->first);
  const int versione = static_cast<int>(it->second.size()) + 1;
  ImpostaIdEMeta(risorsa, id, versione, adesso);
  it->second.push_back({tipo, id, versione, adesso, Serializza(risorsa)});
  const std::size_t posizione = posizione_.try_emplace(it->first, ordine_.size() - 1).first->second;
  std::vector<std::string> chiavi;
  for (xmlNode* n : Nodi(risorsa, "identifier")) {
    chiavi.push_back(tipo + "|" + Valore(n, "system") + "|" + Valore(n, "value"));
  }
  if (const std::string soggetto = Valore(risorsa, "subject/reference"); !soggetto.empty()) {
    chiavi.push_back(tipo + "|subject|" + soggetto);
  }
  for (const std::string& chiave : chiavi) {
    auto& elenco = identificativi_[chiave];
    if (std::find(elenco.begin(), elenco.end(), posizione) == elenco.end()) {
      elenco.insert(std::upper_bound(elenco.begin(), elenco.end(), posizione), posizione);
    }
  }
  return it->second.back();
}

}  // namespace qzkiro::sandbox::fhir
