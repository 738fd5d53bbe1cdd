#include "fhir/ScritturaFhir.h"

#include <algorithm>
#include <cctype>

#include "util/Testo.h"

namespace qzkiro::fhir {

using util::clsXML;
using Nodo = ScritturaFhir::Nodo;

Nodo ScritturaFhir::NuovoBundle(clsXML& xml, std::string_view tipo) {
  xml.LoadXML("<?xml version=\"1.0\" encoding=\"UTF-8\"?><Bundle xmlns=\"" +
              std::string(kNsFhir) + "\"/>");
  xml.SetDefaultNameSpace(std::string(kNsFhir));
  Nodo bundle = xml.rootNode();
  xml.AddNode(bundle, "type", "", {"value", std::string(tipo)});
  return bundle;
}

Nodo ScritturaFhir::E(Nodo padre, const std::string& nome) {
  return x_.AddNode(padre, nome);
}

Nodo ScritturaFhir::V(Nodo padre, const std::string& nome, std::string_view valore) {
  if (valore.empty()) return nullptr;
  return x_.AddNode(padre, nome, "", {"value", std::string(valore)});
}

Nodo ScritturaFhir::Coding(Nodo padre, const Codifica& c, const std::string& nome) {
  Nodo coding = E(padre, nome);
  V(coding, "system", c.Sistema);
  V(coding, "code", c.Codice);
  V(coding, "display", c.Display);
  return coding;
}

Nodo ScritturaFhir::Concetto(Nodo padre, const std::string& nome, const Codifica& codifica) {
  if (codifica.Vuota()) return nullptr;
  Nodo concetto = E(padre, nome);
  Coding(concetto, codifica);
  return concetto;
}

Nodo ScritturaFhir::Riferimento(Nodo padre, const std::string& nome,
                                std::string_view riferimento) {
  Nodo r = E(padre, nome);
  V(r, "reference", riferimento);
  return r;
}

Nodo ScritturaFhir::Identificativo(Nodo padre, std::string_view uso, std::string_view sistema,
                                   std::string_view valore) {
  Nodo id = E(padre, "identifier");
  V(id, "use", uso);
  V(id, "system", sistema);
  V(id, "value", valore);
  return id;
}

Nodo ScritturaFhir::EstensioneCodifica(Nodo padre, const std::string& url,
                                       const Codifica& codifica) {
  Nodo e = x_.AddNode(padre, "extension", "", {"url", url});
  Coding(e, codifica, "valueCoding");
  return e;
}

Nodo ScritturaFhir::EstensioneTesto(Nodo padre, const std::string& url, std::string_view testo) {
  Nodo e = x_.AddNode(padre, "extension", "", {"url", url});
  V(e, "valueString", testo);
  return e;
}

Nodo ScritturaFhir::Voce(Nodo bundle, std::string_view full_url, const std::string& tipo,
                         std::string_view metodo, std::string_view url) {
  Nodo voce = E(bundle, "entry");
  V(voce, "fullUrl", full_url);
  Nodo risorsa = E(E(voce, "resource"), tipo);
  Nodo richiesta = E(voce, "request");
  V(richiesta, "method", metodo);
  V(richiesta, "url", url);
  return risorsa;
}

std::string UrnUuid(std::string_view guid) {
  std::string testo;
  for (char c : guid) {
    if (c != '{' && c != '}') testo += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return "urn:uuid:" + testo;
}

std::string IstanteUtc(const util::DataOra& utc) {
  return utc.Formato("yyyy-mm-dd\\Thh:nn:ss\\Z");
}

std::string DataFhir(std::string_view data_host) {
  const bool cifre = data_host.size() >= 8 &&
                     std::all_of(data_host.begin(), data_host.begin() + 8,
                                 [](unsigned char c) { return std::isdigit(c) != 0; });
  if (!cifre) return std::string(data_host);
  return std::string(data_host.substr(0, 4)) + "-" + std::string(data_host.substr(4, 2)) + "-" +
         std::string(data_host.substr(6, 2));
}

std::string DecimaleFhir(std::string_view numero) {
  std::string testo = util::Trim(numero);
  std::replace(testo.begin(), testo.end(), ',', '.');
  return testo;
}

}  // namespace qzkiro::fhir
