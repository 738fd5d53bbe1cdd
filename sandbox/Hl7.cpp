#include "sandbox/Hl7.h"

#include <climits>

#include "sandbox/Scambio.h"
#include "util/Libxml.h"

namespace qzkiro::sandbox {

namespace {

namespace libxml = util::libxml;

bool Nome(const xmlNode* nodo, std::string_view nome) {
  return nodo->type == XML_ELEMENT_NODE &&
         std::string_view(reinterpret_cast<const char*>(nodo->name)) == nome;
}

const xmlNode* Figlio(const xmlNode* padre, std::string_view nome) {
  for (const xmlNode* n = padre->children; n != nullptr; n = n->next) {
    if (Nome(n, nome)) return n;
  }
  return nullptr;
}

std::string Testo(const xmlNode* nodo) {
  return libxml::Possiedi(xmlNodeGetContent(nodo));
}

// Component `n` (1-based) of a field: its n-th child element, whatever the
// element is called (MSG.1, CM_MSG.1, HD.1 ...); a field without components is its own first.
std::string Componente(const xmlNode* campo, int n) {
  if (campo == nullptr) return {};
  int i = 0;
  bool composto = false;
  for (const xmlNode* c = campo->children; c != nullptr; c = c->next) {
    if (c->type != XML_ELEMENT_NODE) continue;
    composto = true;
    if (++i == n) return Testo(c);
  }
  return !composto && n == 1 ? Testo(campo) : std::string();
}

void Elemento(std::string& xml, std::string_view nome, std::string_view contenuto) {
  xml += '<';
  xml += nome;
  xml += '>';
  xml += contenuto;
  xml += "</";
  xml += nome;
  xml += '>';
}

// A field with one component, left out when empty.
void Campo(std::string& xml, std::string_view campo, std::string_view componente,
           std::string_view valore) {
  if (valore.empty()) return;
  std::string dentro;
  Elemento(dentro, componente, EscapeXml(valore));
  Elemento(xml, campo, dentro);
}

}  // namespace

std::optional<MessaggioHl7> LeggiMessaggioHl7(std::string_view xml, std::string* errore) {
  auto fallisci = [errore](std::string motivo) -> std::optional<MessaggioHl7> {
    if (errore != nullptr) *errore = std::move(motivo);
    return std::nullopt;
  };
  if (xml.size() > INT_MAX) return fallisci("messaggio troppo grande");
  const libxml::Documento doc = libxml::LeggiMemoria(
      xml, nullptr, nullptr, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
  const xmlNode* radice = doc ? xmlDocGetRootElement(doc.get()) : nullptr;
  if (radice == nullptr) return fallisci("il testo non è XML ben formato");
  const xmlNode* msh = Figlio(radice, "MSH");
  if (msh == nullptr) return fallisci("manca il segmento MSH");
  const xmlNode* msh9 = Figlio(msh, "MSH.9");
  const xmlNode* msh10 = Figlio(msh, "MSH.10");
  if (msh9 == nullptr || msh10 == nullptr) return fallisci("mancano MSH.9 o MSH.10");

  MessaggioHl7 m;
  m.radice = reinterpret_cast<const char*>(radice->name);
  m.tipo = Componente(msh9, 1);
  m.evento = Componente(msh9, 2);
  m.id_controllo = Testo(msh10);
  m.applicazione_mittente = Componente(Figlio(msh, "MSH.3"), 1);
  m.struttura_mittente = Componente(Figlio(msh, "MSH.4"), 1);
  m.applicazione_destinataria = Componente(Figlio(msh, "MSH.5"), 1);
  m.struttura_destinataria = Componente(Figlio(msh, "MSH.6"), 1);
  m.elaborazione = Componente(Figlio(msh, "MSH.11"), 1);
  m.versione = Componente(Figlio(msh, "MSH.12"), 1);
  return m;
}

std::string ComponiAck(const MessaggioHl7& originale, std::string_view id,
                       std::string_view data_ora, const EsitoAck& esito) {
  std::string msh;
  Elemento(msh, "MSH.1", "|");
  Elemento(msh, "MSH.2", "^~\\&amp;");
  Campo(msh, "MSH.3", "HD.1", originale.applicazione_destinataria);
  Campo(msh, "MSH.4", "HD.1", originale.struttura_destinataria);
  Campo(msh, "MSH.5", "HD.1", originale.applicazione_mittente);
  Campo(msh, "MSH.6", "HD.1", originale.struttura_mittente);
  Campo(msh, "MSH.7", "TS.1", data_ora);
  std::string msh9;
  Elemento(msh9, "MSG.1", "ACK");
  if (!originale.evento.empty()) Elemento(msh9, "MSG.2", EscapeXml(originale.evento));
  Elemento(msh9, "MSG.3", "ACK");
  Elemento(msh, "MSH.9", msh9);
  Elemento(msh, "MSH.10", EscapeXml(id));
  Campo(msh, "MSH.11", "PT.1", originale.elaborazione.empty() ? "P" : originale.elaborazione);
  Campo(msh, "MSH.12", "VID.1", "2.5");

  std::string msa6, msa;
  Elemento(msa6, "CE.1", EscapeXml(esito.codice));
  Elemento(msa6, "CE.2", EscapeXml(esito.messaggio));
  Elemento(msa, "MSA.1", EscapeXml(esito.esito));
  Elemento(msa, "MSA.2", EscapeXml(originale.id_controllo));
  Elemento(msa, "MSA.6", msa6);

  std::string ack = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><ACK xmlns=\"urn:hl7-org:v2xml\">";
  Elemento(ack, "MSH", msh);
  Elemento(ack, "MSA", msa);
  return ack + "</ACK>";
}

}  // namespace qzkiro::sandbox
