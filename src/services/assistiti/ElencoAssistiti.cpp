#include "services/assistiti/ElencoAssistiti.h"

#include <cctype>

#include "util/Testo.h"
#include "util/clsXML.h"

namespace qzkiro::assistiti {

namespace {

using util::clsXML;

std::string Maiuscolo(std::string testo) {
  for (char& c : testo) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return testo;
}

AssistitoFse Assistito(clsXML& xml, clsXML::Nodo paziente) {
  AssistitoFse a;
  for (clsXML::Nodo id : xml.SelectNodeList(paziente, "identifier")) {
    const std::string sistema = util::Trim(xml.GetAttributeNode(id, "system", "value"));
    const std::string valore = util::Trim(xml.GetAttributeNode(id, "value", "value"));
    if (sistema == kSistemaCodiceFiscale && a.codice_fiscale.empty()) {
      a.codice_fiscale = Maiuscolo(valore);
    } else if (sistema == kSistemaMPI && a.mpi.empty()) {
      a.mpi = valore;
    }
  }
  return a;
}

}  // namespace

std::string RicercaAssistiti(const std::string& cf_medico) {
  return std::string("?general-practitioner.identifier=") + kSistemaCodiceFiscale + "|" +
         cf_medico + "&_elements=identifier";
}

ElencoAssistiti LeggiElencoAssistiti(const std::string& bundle) {
  ElencoAssistiti elenco;
  clsXML xml;
  if (bundle.empty() || !xml.LoadXML(bundle) || !clsXML::HaNome(xml.rootNode(), "Bundle")) {
    return elenco;
  }
  elenco.letto = true;
  for (clsXML::Nodo paziente : xml.SelectNodeList(xml.rootNode(), "entry/resource/Patient")) {
    AssistitoFse a = Assistito(xml, paziente);
    if (!a.codice_fiscale.empty() || !a.mpi.empty()) elenco.assistiti.push_back(std::move(a));
  }
  return elenco;
}

std::string MotivoRifiuto(const std::string& risposta) {
  clsXML xml;
  if (risposta.empty() || !xml.LoadXML(risposta) ||
      !clsXML::HaNome(xml.rootNode(), "OperationOutcome")) {
    return {};
  }
  std::string motivo;
  for (clsXML::Nodo problema : xml.SelectNodeList(xml.rootNode(), "issue")) {
    std::string testo = xml.GetAttributeNode(problema, "details/text", "value");
    if (testo.empty()) testo = xml.GetAttributeNode(problema, "diagnostics", "value");
    if (testo.empty()) continue;
    if (!motivo.empty()) motivo += "\r\n";
    motivo += testo;
  }
  return motivo;
}

}  // namespace qzkiro::assistiti
