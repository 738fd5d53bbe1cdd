#include "sandbox/FhirTransazione.h"

#include <cctype>
#include <map>
#include <set>
#include <vector>

#include "sandbox/FhirRisposte.h"
#include "util/Libxml.h"

namespace qzkiro::sandbox::fhir {

namespace {

namespace libxml = util::libxml;

// What refuses the whole transaction.
struct Rifiuto {
  Risposta risposta;
};

[[noreturn]] void Rifiuta(std::string testo, std::string posizione = {},
                          std::string tipo = "processing") {
  Problema p;
  p.tipo = std::move(tipo);
  p.testo = std::move(testo);
  p.posizione = std::move(posizione);
  throw Rifiuto{RispostaProblemi(400, {p})};
}

struct Voce {
  xmlNode* risorsa = nullptr;
  std::string tipo, full_url, metodo, id;
  bool esistente = false;  // a new version of a resource the server holds
  std::string posizione;   // "Bundle.entry[N]", for the messages

  std::string Riferimento() const { return tipo + "/" + id; }
};

Voce LeggiVoce(xmlNode* entry, std::size_t n) {
  Voce v;
  v.posizione = "Bundle.entry[" + std::to_string(n) + "]";
  v.full_url = Valore(entry, "fullUrl");
  const auto risorse = Nodi(entry, "resource");
  v.risorsa = risorse.empty() ? nullptr : PrimoElemento(risorse.front());
  if (!v.risorsa) Rifiuta("Voce senza risorsa", v.posizione, "required");
  v.tipo = Nome(v.risorsa);
  v.metodo = Valore(entry, "request/method");
  std::string url = Valore(entry, "request/url");
  if (url.starts_with("/")) url.erase(0, 1);
  if (v.metodo == "POST") {
    if (url != v.tipo) Rifiuta("URL della richiesta POST non valido: " + url, v.posizione);
  } else if (v.metodo == "PUT") {
    if (!url.starts_with(v.tipo + "/") || url.size() == v.tipo.size() + 1) {
      Rifiuta("URL della richiesta PUT non valido: " + url, v.posizione);
    }
    v.id = url.substr(v.tipo.size() + 1);
    if (Valore(v.risorsa, "id") != v.id) {
      Rifiuta("L'id della risorsa non corrisponde all'URL della richiesta PUT: " + url,
              v.posizione);
    }
  } else {
    Rifiuta("Metodo non supportato nella transazione: '" + v.metodo + "'", v.posizione,
            "not-supported");
  }
  return v;
}

std::vector<Voce> LeggiVoci(xmlNode* bundle) {
  if (Nome(bundle) != "Bundle") Rifiuta("Attesa una risorsa Bundle", {}, "structure");
  if (const std::string tipo = Valore(bundle, "type"); tipo != "transaction") {
    Rifiuta("Bundle di tipo '" + tipo + "': atteso 'transaction'", "Bundle.type");
  }
  std::vector<Voce> voci;
  for (xmlNode* entry : Nodi(bundle, "entry")) voci.push_back(LeggiVoce(entry, voci.size()));
  if (voci.empty()) Rifiuta("Transazione senza voci", "Bundle.entry", "required");
  return voci;
}

// The ids: new ones for POST, the URL's for PUT; what each fullUrl names.
std::map<std::string, std::string> AssegnaId(std::vector<Voce>& voci, Archivio& archivio) {
  std::map<std::string, std::string> nomi;
  for (Voce& v : voci) {
    if (v.metodo == "POST") v.id = archivio.NuovoId();
    v.esistente = archivio.Attuale(v.tipo, v.id) != nullptr;
    if (v.full_url.empty()) continue;
    if (!nomi.emplace(v.full_url, v.Riferimento()).second) {
      Rifiuta("fullUrl ripetuto: " + v.full_url, v.posizione, "duplicate");
    }
    if (v.full_url.starts_with("urn:uuid:")) {
      nomi.emplace(v.tipo + "/" + v.full_url.substr(9), v.Riferimento());
    }
  }
  return nomi;
}

std::string Risolto(const std::map<std::string, std::string>& nomi, const std::string& rif) {
  const auto it = nomi.find(rif);
  return it == nomi.end() ? rif : it->second;
}

// The patient a CarePlan names, as the conditional rule compares them: the
// fiscal code of the Patient (in the transaction or held), else the reference.
std::string ChiavePaziente(const std::string& riferimento, const std::vector<Voce>& voci,
                           const Archivio& archivio) {
  const auto codice = [](xmlNode* paziente) {
    for (xmlNode* id : Nodi(paziente, "identifier")) {
      if (Valore(id, "system") == kOidCodiceFiscale) return Valore(id, "value");
    }
    return std::string();
  };
  for (const Voce& v : voci) {
    if (v.Riferimento() == riferimento) {
      const std::string cf = codice(v.risorsa);
      return cf.empty() ? riferimento : cf;
    }
  }
  if (const Risorsa* r = archivio.Riferita(riferimento)) {
    const std::string cf = r->Radice() ? codice(r->Radice()) : std::string();
    if (!cf.empty()) return cf;
  }
  return riferimento;
}

struct CarePlanInCorso {
  std::string id, inizio, fine, paziente;
};

// The Patients a patient key stands for: those with that fiscal code, or the
// reference itself.
std::vector<std::string> RiferimentiPaziente(const std::string& chiave, const Archivio& archivio) {
  std::vector<std::string> riferimenti{chiave};
  for (const Risorsa* p : archivio.ConIdentificativo("Patient", kOidCodiceFiscale, chiave)) {
    riferimenti.push_back(p->Riferimento());
  }
  return riferimenti;
}

// The CarePlans in force (neither cancelled nor entered in error) of the
// patient with key `paziente`.
std::vector<CarePlanInCorso> CarePlanInCorsi(const Archivio& archivio,
                                             const std::string& paziente) {
  std::vector<CarePlanInCorso> elenco;
  std::vector<const Risorsa*> candidati;
  for (const std::string& rif : RiferimentiPaziente(paziente, archivio)) {
    for (const Risorsa* r : archivio.ConSoggetto("CarePlan", rif)) candidati.push_back(r);
  }
  for (const Risorsa* r : candidati) {
    xmlNode* cp = r->Radice();
    const std::string stato = Valore(cp, "status");
    if (stato == "cancelled" || stato == "entered-in-error") continue;
    elenco.push_back({r->id, Valore(cp, "period/start"), Valore(cp, "period/end"),
                      ChiavePaziente(Valore(cp, "subject/reference"), {}, archivio)});
  }
  return elenco;
}

// The MessageHeader's event decides whether a CarePlan of the same patient
// and period may be created ("create": no) or is replaced ("update").
void RegolaCarePlan(std::vector<Voce>& voci, std::map<std::string, std::string>& nomi,
                    const Archivio& archivio) {
  std::string evento;
  for (const Voce& v : voci) {
    if (v.tipo == "MessageHeader") evento = Valore(v.risorsa, "event/code");
  }
  if (evento != "create" && evento != "update") {
    Rifiuta("MessageHeader mancante o con evento non ammesso: '" + evento +
                "' (attesi 'create' o 'update')",
            "MessageHeader.event");
  }
  for (Voce& v : voci) {
    if (v.tipo != "CarePlan" || v.metodo != "POST") continue;
    const std::string paziente =
        ChiavePaziente(Risolto(nomi, Valore(v.risorsa, "subject/reference")), voci, archivio);
    const std::string inizio = Valore(v.risorsa, "period/start");
    const std::string fine = Valore(v.risorsa, "period/end");
    for (const CarePlanInCorso& c : CarePlanInCorsi(archivio, paziente)) {
      if (c.paziente != paziente || c.inizio != inizio || c.fine != fine) continue;
      if (evento == "create") {
        Problema p{"error",
                   "duplicate",
                   "ERR_00999",
                   "CarePlan gia' creato per il periodo di riferimento selezionato",
                   "Esiste gia' il CarePlan/" + c.id + " del paziente per il periodo " + inizio +
                       " - " + fine,
                   {},
                   v.posizione + ".resource"};
        throw Rifiuto{RispostaProblemi(422, {p})};
      }
      v.id = c.id;
      v.esistente = true;
      if (!v.full_url.empty()) nomi[v.full_url] = v.Riferimento();
      if (v.full_url.starts_with("urn:uuid:"))
        nomi["CarePlan/" + v.full_url.substr(9)] = v.Riferimento();
    }
  }
}

bool RiferimentoRelativo(const std::string& rif) {
  const auto barra = rif.find('/');
  return barra != std::string::npos && barra > 0 && rif.find('/', barra + 1) == std::string::npos &&
         std::isupper(static_cast<unsigned char>(rif[0])) && rif.find(':') == std::string::npos;
}

// Every "reference" below `nodo` in its resolved form.
void Riscrivi(xmlNode* nodo, const std::map<std::string, std::string>& nomi,
              const std::set<std::string>& in_transazione, const Archivio& archivio,
              const std::string& posizione) {
  for (xmlNode* n = nodo->children; n; n = n->next) {
    if (n->type != XML_ELEMENT_NODE) continue;
    if (Nome(n) == "reference") {
      const std::string rif = Attributo(n, "value");
      const std::string risolto = Risolto(nomi, rif);
      if (risolto.starts_with("urn:uuid:")) Rifiuta("Riferimento non risolto: " + rif, posizione);
      if (RiferimentoRelativo(risolto) && !in_transazione.contains(risolto) &&
          !archivio.Riferita(risolto)) {
        Rifiuta("Risorsa " + risolto + " non trovata", posizione, "not-found");
      }
      if (risolto != rif) xmlSetProp(n, BAD_CAST "value", libxml::X(risolto));
    }
    Riscrivi(n, nomi, in_transazione, archivio, posizione);
  }
}

}  // namespace

Risposta EseguiTransazione(xmlDoc* bundle, Archivio& archivio, const std::string& adesso,
                           const std::string& id_risposta) {
  try {
    std::vector<Voce> voci = LeggiVoci(xmlDocGetRootElement(bundle));
    std::map<std::string, std::string> nomi = AssegnaId(voci, archivio);
    RegolaCarePlan(voci, nomi, archivio);
    std::set<std::string> in_transazione;
    for (const Voce& v : voci) in_transazione.insert(v.Riferimento());
    for (const Voce& v : voci) Riscrivi(v.risorsa, nomi, in_transazione, archivio, v.posizione);
    std::vector<VoceRisposta> risposte;
    for (const Voce& v : voci) {
      const Risorsa& r = archivio.Salva(v.risorsa, v.id, adesso);
      const bool con_risorsa = v.tipo == "CarePlan" || v.tipo == "Observation";
      risposte.push_back({v.esistente ? "200 OK" : "201 Created", r.Posizione(), adesso,
                          con_risorsa ? r.xml : std::string()});
    }
    return {200, BundleRisposta(id_risposta, adesso, risposte), kTipoFhir};
  } catch (const Rifiuto& r) {
    return r.risposta;
  }
}

}  // namespace qzkiro::sandbox::fhir
