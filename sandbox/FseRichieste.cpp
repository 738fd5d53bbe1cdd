#include "sandbox/FseRichieste.h"

#include "sandbox/Conformita.h"
#include "util/Libxml.h"

namespace qzkiro::sandbox::fse {

namespace {

constexpr std::string_view kSoap12 = "http://www.w3.org/2003/05/soap-envelope";
constexpr std::string_view kWsa = "http://www.w3.org/2005/08/addressing";
constexpr std::string_view kWsse =
    "http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-wssecurity-secext-1.0.xsd";
constexpr std::string_view kSaml = "urn:oasis:names:tc:SAML:2.0:assertion";
constexpr std::string_view kRim = "urn:oasis:names:tc:ebxml-regrep:xsd:rim:3.0";
constexpr std::string_view kXdsb = "urn:ihe:iti:xds-b:2007";
constexpr std::string_view kHl7 = "urn:hl7-org:v2xml";

std::string_view Nome(const xmlNode* n) {
  return n ? util::libxml::Vista(n->name) : std::string_view();
}

std::string_view Ns(const xmlNode* n) {
  return n && n->ns ? util::libxml::Vista(n->ns->href) : std::string_view();
}

std::vector<xmlNode*> Figli(const xmlNode* n) {
  std::vector<xmlNode*> figli;
  for (xmlNode* f = n ? n->children : nullptr; f; f = f->next) {
    if (f->type == XML_ELEMENT_NODE) figli.push_back(f);
  }
  return figli;
}

// Every child `nome` in namespace `ns`.
std::vector<xmlNode*> Tutti(const xmlNode* n, std::string_view ns, std::string_view nome) {
  std::vector<xmlNode*> trovati;
  for (xmlNode* f : Figli(n)) {
    if (Nome(f) == nome && Ns(f) == ns) trovati.push_back(f);
  }
  return trovati;
}

xmlNode* Figlio(const xmlNode* n, std::string_view ns, std::string_view nome) {
  const auto tutti = Tutti(n, ns, nome);
  return tutti.empty() ? nullptr : tutti.front();
}

std::string Testo(const xmlNode* n) {
  return n ? util::libxml::Possiedi(xmlNodeGetContent(n)) : std::string();
}

std::string Attributo(const xmlNode* n, const char* nome) {
  return util::libxml::Possiedi(xmlGetProp(n, reinterpret_cast<const xmlChar*>(nome)));
}

// The text along `percorso` (HL7 element names) below `n`.
std::string TestoHl7(const xmlNode* n, std::initializer_list<std::string_view> percorso) {
  for (std::string_view nome : percorso) n = Figlio(n, kHl7, nome);
  return Testo(n);
}

void LeggiQuery(const xmlNode* corpo, RichiestaFse& r) {
  const xmlNode* opzione =
      Figlio(corpo, "urn:oasis:names:tc:ebxml-regrep:xsd:query:3.0", "ResponseOption");
  r.tipo_risposta = opzione ? Attributo(opzione, "returnType") : "";
  const xmlNode* query = Figlio(corpo, kRim, "AdhocQuery");
  if (!query) return;
  r.query = Attributo(query, "id");
  for (const xmlNode* slot : Tutti(query, kRim, "Slot")) {
    std::vector<std::string> valori;
    for (const xmlNode* v : Tutti(Figlio(slot, kRim, "ValueList"), kRim, "Value")) {
      for (std::string& valore : ValoriSlot(Testo(v))) valori.push_back(std::move(valore));
    }
    r.parametri.emplace_back(Attributo(slot, "name"), std::move(valori));
  }
}

void LeggiRetrieve(const xmlNode* corpo, RichiestaFse& r) {
  for (const xmlNode* d : Tutti(corpo, kXdsb, "DocumentRequest")) {
    r.documenti.emplace_back(Testo(Figlio(d, kXdsb, "RepositoryUniqueId")),
                             Testo(Figlio(d, kXdsb, "DocumentUniqueId")));
  }
}

void LeggiHl7(const xmlNode* corpo, RichiestaFse& r, const FseSchemi* schemi) {
  const xmlNode* msh = Figlio(corpo, kHl7, "MSH");
  r.tipo = TestoHl7(msh, {"MSH.9", "MSG.1"});
  r.evento = TestoHl7(msh, {"MSH.9", "MSG.2"});
  r.struttura = TestoHl7(msh, {"MSH.9", "MSG.3"});
  r.id_controllo = TestoHl7(msh, {"MSH.10"});
  for (const xmlNode* q : Tutti(Figlio(corpo, kHl7, "QRF"), kHl7, "QRF.5")) {
    r.qrf5.push_back(Testo(q));
  }
  if (!schemi) return;
  for (xmlNode* segmento : Figli(corpo)) {
    const auto violazioni = schemi->ValidaSegmento(segmento);
    if (!violazioni.empty()) {
      r.segmento_non_valido =
          "segmento " + std::string(Nome(segmento)) + ": " + DescriviViolazione(violazioni.front());
      return;
    }
  }
}

}  // namespace

const std::vector<std::string>* RichiestaFse::Parametro(std::string_view nome) const {
  for (const auto& [slot, valori] : parametri) {
    if (slot == nome) return &valori;
  }
  return nullptr;
}

std::vector<std::string> ValoriSlot(std::string_view testo) {
  const auto pulisci = [](std::string_view t) {
    const auto inizio = t.find_first_not_of(" \t\r\n");
    if (inizio == std::string_view::npos) return std::string_view();
    return t.substr(inizio, t.find_last_not_of(" \t\r\n") + 1 - inizio);
  };
  testo = pulisci(testo);
  if (testo.size() >= 2 && testo.front() == '(' && testo.back() == ')') {
    testo = testo.substr(1, testo.size() - 2);
  }
  std::vector<std::string> valori;
  std::string corrente;
  bool tra_apici = false;
  for (char c : testo) {
    if (c == '\'') {
      tra_apici = !tra_apici;
    } else if (c == ',' && !tra_apici) {
      valori.emplace_back(pulisci(corrente));
      corrente.clear();
    } else {
      corrente += c;
    }
  }
  if (!pulisci(corrente).empty() || !valori.empty()) valori.emplace_back(pulisci(corrente));
  return valori;
}

std::optional<RichiestaFse> LeggiRichiestaFse(const std::string& corpo, const FseSchemi* schemi) {
  const util::libxml::Documento doc = util::libxml::LeggiMemoria(
      corpo, nullptr, nullptr, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
  const xmlNode* busta = doc ? xmlDocGetRootElement(doc.get()) : nullptr;
  if (!busta || Nome(busta) != "Envelope" || Ns(busta) != kSoap12) return std::nullopt;
  const auto contenuto = Figli(Figlio(busta, kSoap12, "Body"));
  if (contenuto.empty()) return std::nullopt;
  RichiestaFse r;
  const xmlNode* intestazione = Figlio(busta, kSoap12, "Header");
  r.azione = Testo(Figlio(intestazione, kWsa, "Action"));
  r.message_id = Testo(Figlio(intestazione, kWsa, "MessageID"));
  r.to = Testo(Figlio(intestazione, kWsa, "To"));
  const xmlNode* sicurezza = Figlio(intestazione, kWsse, "Security");
  if (const xmlNode* asserzione = Figlio(sicurezza, kSaml, "Assertion")) {
    r.asserzione = Attributo(asserzione, "ID");
  }
  const xmlNode* radice = contenuto.front();
  r.radice = Nome(radice);
  r.ns = Ns(radice);
  if (r.radice == "AdhocQueryRequest") LeggiQuery(radice, r);
  if (r.radice == "RetrieveDocumentSetRequest") LeggiRetrieve(radice, r);
  if (r.ns == kHl7) LeggiHl7(radice, r, schemi);
  return r;
}

}  // namespace qzkiro::sandbox::fse
