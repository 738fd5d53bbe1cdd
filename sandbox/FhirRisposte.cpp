#include "sandbox/FhirRisposte.h"

#include <string_view>

namespace qzkiro::sandbox::fhir {

namespace {

std::string V(std::string_view nome, std::string_view valore) {
  if (valore.empty()) return {};
  return "<" + std::string(nome) + " value=\"" + EscapeXml(valore) + "\"/>";
}

std::string Apertura(std::string_view radice) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><" + std::string(radice) + " xmlns=\"" + kNs +
         "\">";
}

std::string Issue(const Problema& p) {
  std::string dettagli;
  if (!p.codice.empty() || !p.display.empty()) {
    dettagli += "<coding>" + V("code", p.codice) + V("display", p.display) + "</coding>";
  }
  dettagli += V("text", p.testo);
  return "<issue>" + V("severity", p.severita) + V("code", p.tipo) +
         (dettagli.empty() ? "" : "<details>" + dettagli + "</details>") +
         V("diagnostics", p.diagnostica) + V("location", p.posizione) + "</issue>";
}

}  // namespace

std::string OperationOutcome(const std::vector<Problema>& problemi) {
  std::string xml = Apertura("OperationOutcome");
  for (const Problema& p : problemi) xml += Issue(p);
  return xml + "</OperationOutcome>";
}

Risposta RispostaProblemi(int stato, const std::vector<Problema>& problemi) {
  return {stato, OperationOutcome(problemi), kTipoFhir};
}

Risposta Errore(int stato, std::string tipo, std::string testo, std::string codice,
                std::string display) {
  Problema p;
  p.tipo = std::move(tipo);
  p.testo = std::move(testo);
  p.codice = std::move(codice);
  p.display = std::move(display);
  return RispostaProblemi(stato, {p});
}

std::string BundleRisposta(const std::string& id, const std::string& adesso,
                           const std::vector<VoceRisposta>& voci) {
  std::string xml = Apertura("Bundle") + V("id", id) + "<meta>" + V("lastUpdated", adesso) +
                    "</meta>" + V("type", "transaction-response");
  for (const VoceRisposta& v : voci) {
    xml += "<entry>";
    if (!v.risorsa.empty()) xml += "<resource>" + v.risorsa + "</resource>";
    xml += "<response>" + V("status", v.stato) + V("location", v.posizione) +
           V("lastModified", v.ultima_modifica) + "</response></entry>";
  }
  return xml + "</Bundle>";
}

std::string BundleRicerca(const std::string& id, const std::string& adesso, const std::string& base,
                          const std::vector<const Risorsa*>& trovate) {
  std::string xml = Apertura("Bundle") + V("id", id) + "<meta>" + V("lastUpdated", adesso) +
                    "</meta>" + V("type", "searchset") + V("total", std::to_string(trovate.size()));
  for (const Risorsa* r : trovate) {
    xml += "<entry>" + V("fullUrl", base + "/" + r->Riferimento()) + "<resource>" + r->xml +
           "</resource><search>" + V("mode", "match") + "</search></entry>";
  }
  return xml + "</Bundle>";
}

}  // namespace qzkiro::sandbox::fhir
