#include "sandbox/FsePubblicazione.h"

#include <algorithm>
#include <cctype>

#include "sandbox/DocumentiRegione.h"
#include "util/Libxml.h"

namespace qzkiro::sandbox::fse {

namespace {

namespace lx = util::libxml;

constexpr std::string_view kSchemaClasse = "urn:uuid:41a5887f-8865-4c09-adf7-e362475b143a";
constexpr std::string_view kSchemaFormato = "urn:uuid:a09d5840-386c-46f2-b5ad-9c3699a4309d";
constexpr std::string_view kSchemaStruttura = "urn:uuid:f33fb8ac-18af-42cc-ae0e-ed0b0bdb91e1";
constexpr std::string_view kSchemaReparto = "urn:uuid:cccf5598-8b07-4b77-a05e-ae952c785ead";
constexpr std::string_view kSchemaTipo = "urn:uuid:f0306f51-975f-434e-a61c-c59651d33983";
constexpr std::string_view kSchemaEvento = "urn:uuid:2c6b8cb7-8b2a-4051-b291-b1ae6a575ef4";
constexpr std::string_view kSchemaPaziente = "urn:uuid:58a6f841-87b3-4a3e-92fd-a8ffeff98427";
constexpr std::string_view kSchemaUnico = "urn:uuid:2e82c1f6-a085-4c72-9da3-8640a32e42ab";
constexpr std::string_view kRplc = "urn:ihe:iti:2007:AssociationType:RPLC";
constexpr std::string_view kFormatoConsensi = "urn:ihe:iti:bppc:2007";

bool Nome(const xmlNode* n, std::string_view nome) {
  return n && n->type == XML_ELEMENT_NODE && lx::Vista(n->name) == nome;
}

std::string Attributo(xmlNode* n, const char* nome) {
  return lx::Possiedi(xmlGetProp(n, reinterpret_cast<const xmlChar*>(nome)));
}

std::vector<xmlNode*> Figli(xmlNode* padre, std::string_view nome) {
  std::vector<xmlNode*> figli;
  for (xmlNode* n = padre ? padre->children : nullptr; n; n = n->next) {
    if (Nome(n, nome)) figli.push_back(n);
  }
  return figli;
}

xmlNode* Figlio(xmlNode* padre, std::string_view nome) {
  const auto figli = Figli(padre, nome);
  return figli.empty() ? nullptr : figli.front();
}

// Every element named `nome` below `radice`, in document order.
void Cerca(xmlNode* radice, std::string_view nome, std::vector<xmlNode*>& trovati) {
  for (xmlNode* n = radice ? radice->children : nullptr; n; n = n->next) {
    if (Nome(n, nome)) trovati.push_back(n);
    Cerca(n, nome, trovati);
  }
}

std::string NomeLocalizzato(xmlNode* n) {
  return Attributo(Figlio(Figlio(n, "Name"), "LocalizedString"), "value");
}

std::string PrimoValore(xmlNode* slot) {
  xmlNode* v = Figlio(Figlio(slot, "ValueList"), "Value");
  return v ? lx::Possiedi(xmlNodeGetContent(v)) : std::string();
}

std::string Slot(xmlNode* oggetto, std::string_view nome) {
  for (xmlNode* s : Figli(oggetto, "Slot")) {
    if (Attributo(s, "name") == nome) return PrimoValore(s);
  }
  return {};
}

// The first classification of `schema`: its node, display name and coding scheme.
CodiceTesto Classificazione(xmlNode* oggetto, std::string_view schema) {
  for (xmlNode* c : Figli(oggetto, "Classification")) {
    if (Attributo(c, "classificationScheme") == schema) {
      return {Attributo(c, "nodeRepresentation"), NomeLocalizzato(c), Slot(c, "codingScheme")};
    }
  }
  return {};
}

std::string Identificatore(xmlNode* oggetto, std::string_view schema) {
  for (xmlNode* e : Figli(oggetto, "ExternalIdentifier")) {
    if (Attributo(e, "identificationScheme") == schema) return Attributo(e, "value");
  }
  return {};
}

// "20261207101500+0100" and the like as the registry keeps times.
std::string Cifre(std::string testo) {
  testo.erase(std::find_if(testo.begin(), testo.end(),
                           [](unsigned char c) { return !std::isdigit(c); }),
              testo.end());
  return testo.substr(0, 14);
}

const ParteMime* Parte(const std::vector<ParteMime>& parti, std::string_view id) {
  for (const auto& p : parti) {
    if (p.id == id) return &p;
  }
  return nullptr;
}

// A consent is listed by its event: its title and its kind's node come from
// the event code, the kind's name from the type code.
void ComeConsenso(xmlNode* oggetto, Pubblicato& d) {
  const CodiceTesto evento = Classificazione(oggetto, kSchemaEvento);
  d.titolo = evento.nome;
  d.tipo = {evento.codice, d.tipo.nome, "regioneveneto typeCodes list v1"};
}

}  // namespace

std::string ParametroIntestazione(std::string_view valore, std::string_view nome) {
  std::string minuscolo(valore);
  std::transform(minuscolo.begin(), minuscolo.end(), minuscolo.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  for (auto at = minuscolo.find(nome); at != std::string::npos; at = minuscolo.find(nome, at + 1)) {
    const auto uguale = at + nome.size();
    if ((at > 0 && minuscolo[at - 1] != ';' && minuscolo[at - 1] != ' ') ||
        uguale >= valore.size() || valore[uguale] != '=') {
      continue;
    }
    std::string_view resto = valore.substr(uguale + 1);
    if (!resto.empty() && resto.front() == '"') {
      resto.remove_prefix(1);
      return std::string(resto.substr(0, resto.find('"')));
    }
    return std::string(resto.substr(0, resto.find_first_of("; \t")));
  }
  return {};
}

std::optional<std::vector<ParteMime>> DividiMultipart(std::string_view corpo,
                                                      std::string_view content_type) {
  const std::string confine = ParametroIntestazione(content_type, "boundary");
  if (confine.empty()) return std::nullopt;
  const std::string delimitatore = "--" + confine;
  std::vector<ParteMime> parti;
  auto at = corpo.find(delimitatore);
  while (at != std::string_view::npos) {
    at += delimitatore.size();
    if (corpo.substr(at, 2) == "--") return parti;  // the closing delimiter
    const auto testa = corpo.find("\r\n\r\n", at);
    if (testa == std::string_view::npos) return std::nullopt;
    const auto fine = corpo.find("\r\n" + delimitatore, testa + 4);
    if (fine == std::string_view::npos) return std::nullopt;
    ParteMime parte;
    const std::string_view intestazioni = corpo.substr(at, testa - at);
    for (std::size_t i = 0; i < intestazioni.size();) {
      auto riga_fine = intestazioni.find("\r\n", i);
      if (riga_fine == std::string_view::npos) riga_fine = intestazioni.size();
      const std::string_view riga = intestazioni.substr(i, riga_fine - i);
      const auto due_punti = riga.find(':');
      if (due_punti != std::string_view::npos) {
        std::string nome(riga.substr(0, due_punti));
        std::transform(nome.begin(), nome.end(), nome.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        std::string_view v = riga.substr(due_punti + 1);
        while (!v.empty() && v.front() == ' ') v.remove_prefix(1);
        if (nome == "content-id") {
          if (v.size() >= 2 && v.front() == '<' && v.back() == '>') v = v.substr(1, v.size() - 2);
          parte.id = std::string(v);
        } else if (nome == "content-type") {
          parte.tipo = std::string(v);
        }
      }
      i = riga_fine + 2;
    }
    parte.corpo = std::string(corpo.substr(testa + 4, fine - testa - 4));
    parti.push_back(std::move(parte));
    at = fine + 2;
  }
  return std::nullopt;
}

bool RisolviXop(xmlDoc* doc, const std::vector<ParteMime>& parti,
                std::map<std::string, std::string>& per_documento, std::string& mancante) {
  std::vector<xmlNode*> inclusi;
  Cerca(xmlDocGetRootElement(doc), "Include", inclusi);
  for (xmlNode* include : inclusi) {
    const std::string href = Attributo(include, "href");
    const std::string id = href.rfind("cid:", 0) == 0 ? href.substr(4) : href;
    const ParteMime* parte = Parte(parti, id);
    if (!parte) {
      mancante = href;
      return false;
    }
    xmlNode* documento = include->parent;
    if (Nome(documento, "Document")) per_documento[Attributo(documento, "id")] = id;
    xmlUnlinkNode(include);
    xmlFreeNode(include);
    std::string base64 = documenti::Base64Mime(parte->corpo);
    base64.erase(std::remove(base64.begin(), base64.end(), '\n'), base64.end());
    xmlNodeAddContent(documento, lx::X(base64));
  }
  return true;
}

DocumentoFse Pubblicato::Vista() const {
  const auto v = [](const CodiceTesto& c) { return Codice{c.codice, c.nome, c.schema}; };
  return {id,         paziente,    mime,    titolo,         creazione, inizio,
          v(formato), v(reparto), v(classe), v(struttura), v(tipo),  Contenuto::kCda};
}

LettaPubblicazione LeggiPubblicazione(xmlDoc* doc, const std::vector<ParteMime>& parti,
                                      const std::map<std::string, std::string>& per_documento) {
  LettaPubblicazione letta;
  std::vector<xmlNode*> oggetti, associazioni;
  Cerca(xmlDocGetRootElement(doc), "ExtrinsicObject", oggetti);
  Cerca(xmlDocGetRootElement(doc), "Association", associazioni);
  for (xmlNode* o : oggetti) {
    Pubblicato d;
    d.id = Identificatore(o, kSchemaUnico);
    const std::string paziente = Identificatore(o, kSchemaPaziente);
    const PazienteFse* p = CercaPaziente(paziente.substr(0, paziente.find('^')));
    const auto cid = per_documento.find(Attributo(o, "id"));
    const ParteMime* parte = cid == per_documento.end() ? nullptr : Parte(parti, cid->second);
    if (!p) {
      letta.errori.push_back({"XDSUnknownPatientId", "Paziente sconosciuto: " + paziente});
      continue;
    }
    if (!parte || d.id.empty()) {
      letta.errori.push_back({"XDSMissingDocument", "Documento mancante: " + Attributo(o, "id")});
      continue;
    }
    d.paziente = static_cast<std::size_t>(p - Pazienti().data());
    d.mime = Attributo(o, "mimeType");
    d.titolo = NomeLocalizzato(o);
    d.creazione = Cifre(Slot(o, "creationTime"));
    d.inizio = Cifre(Slot(o, "serviceStartTime")).substr(0, 8);
    d.formato = Classificazione(o, kSchemaFormato);
    d.reparto = Classificazione(o, kSchemaReparto);
    d.classe = Classificazione(o, kSchemaClasse);
    d.struttura = Classificazione(o, kSchemaStruttura);
    d.tipo = Classificazione(o, kSchemaTipo);
    if (d.formato.codice == kFormatoConsensi) ComeConsenso(o, d);
    d.contenuto = parte->corpo;
    letta.documenti.push_back(std::move(d));
  }
  for (xmlNode* a : associazioni) {
    if (Attributo(a, "associationType") == kRplc) letta.sostituiti.push_back(Attributo(a, "targetObject"));
  }
  return letta;
}

}  // namespace qzkiro::sandbox::fse
