#include "services/mef/RispostePT.h"

#include "services/mef/RichiestePT.h"
#include "util/clsXML.h"

namespace qzkiro::mef {

namespace {

using util::clsXML;

constexpr const char* kCodiceRiuscito = "0000";

// The receipt element `nome` of the answer's Body, with its outcome and
// errors read into `r`; null when the answer has none.
clsXML::Nodo Ricevuta(clsXML& xml, const std::string& testo, const std::string& nome,
                      RispostaPT& r) {
  if (testo.empty() || !xml.LoadXML(testo)) return nullptr;
  clsXML::Nodo ricevuta = xml.SelectNode(xml.rootNode(), "Body/" + nome);
  if (!ricevuta) return nullptr;
  r.leggibile = true;
  r.cod_esito = xml.GetTextNode(ricevuta, "codEsito");
  for (clsXML::Nodo e : xml.SelectNodeList(ricevuta, "elencoErrori/Errore")) {
    r.errori.push_back({xml.GetTextNode(e, "codEsito"), xml.GetTextNode(e, "esito")});
  }
  return ricevuta;
}

}  // namespace

RispostaElencoPT LeggiElencoPT(const std::string& testo) {
  RispostaElencoPT r;
  clsXML xml;
  clsXML::Nodo ricevuta = Ricevuta(xml, testo, "ElencoProtocolliPianiTerapeuticiRicevuta", r);
  if (!ricevuta) return r;
  for (clsXML::Nodo p : xml.SelectNodeList(ricevuta, "listaProtocolliPT")) {
    r.piani.push_back({xml.GetTextNode(p, "numProtocollo"),
                       xml.GetTextNode(p, "dataInizioValidita"),
                       xml.GetTextNode(p, "dataFineValidita")});
  }
  return r;
}

RispostaVisualizzaPT LeggiVisualizzaPT(const std::string& testo) {
  RispostaVisualizzaPT r;
  clsXML xml;
  clsXML::Nodo ricevuta = Ricevuta(xml, testo, "VisualizzazionePianoTerapeuticoAifaRicevuta", r);
  if (ricevuta) r.documento = xml.GetTextNode(ricevuta, "documento");
  return r;
}

std::string ErroreRispostaPT(const RispostaPT& r) {
  if (!r.leggibile || r.cod_esito.empty()) return "Il server ha risposto in modo anomalo";
  if (r.cod_esito == kCodiceRiuscito) return {};
  if (r.errori.empty()) return "Il server ha risposto con un codice di errore " + r.cod_esito;
  std::string testo;
  for (const ErrorePT& e : r.errori) {
    if (!testo.empty()) testo += "\r\n";
    testo += "Il server ha risposto con Codice Errore " + e.codice + " - " + e.descrizione;
  }
  return testo;
}

const PianoPT* PianoPiuRecente(const std::vector<PianoPT>& piani) {
  const PianoPT* scelto = nullptr;
  std::string inizio_scelto;
  for (const PianoPT& p : piani) {
    const std::string inizio = DataPT(p.inizio).value_or("");
    if (!scelto || inizio >= inizio_scelto) {
      scelto = &p;
      inizio_scelto = inizio;
    }
  }
  return scelto;
}

}  // namespace qzkiro::mef
