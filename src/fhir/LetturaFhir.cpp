#include "fhir/LetturaFhir.h"

namespace qzkiro::fhir {

using util::clsXML;

NodoFhir Figlio(NodoFhir padre, std::string_view nome) {
  for (NodoFhir n : clsXML::Figli(padre)) {
    if (clsXML::Nome(n) == nome) return n;
  }
  return nullptr;
}

std::vector<NodoFhir> Figli(NodoFhir padre, std::string_view nome) {
  std::vector<NodoFhir> trovati;
  for (NodoFhir n : clsXML::Figli(padre)) {
    if (clsXML::Nome(n) == nome) trovati.push_back(n);
  }
  return trovati;
}

NodoFhir Percorso(NodoFhir padre, std::string_view percorso) {
  NodoFhir nodo = padre;
  while (nodo && !percorso.empty()) {
    const auto barra = percorso.find('/');
    nodo = Figlio(nodo, percorso.substr(0, barra));
    percorso = barra == std::string_view::npos ? std::string_view() : percorso.substr(barra + 1);
  }
  return nodo;
}

std::string Valore(NodoFhir padre, std::string_view percorso) {
  return clsXML::Attributo(Percorso(padre, percorso), "value");
}

std::string NomeRisorsa(NodoFhir nodo) {
  return std::string(clsXML::Nome(nodo));
}

NodoFhir RisorsaDellaVoce(NodoFhir voce) {
  return clsXML::PrimoElemento(Figlio(voce, "resource"));
}

bool CaricaRisposta(clsXML& xml, std::string_view testo) {
  return xml.LoadXML(std::string(testo)) && xml.rootNode() != nullptr;
}

}  // namespace qzkiro::fhir
