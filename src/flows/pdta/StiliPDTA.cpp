#include "flows/pdta/StiliPDTA.h"

#include <algorithm>
#include <cctype>

#include "util/Testo.h"
#include "util/clsXML.h"

namespace qzkiro::pdta {

const std::array<PercorsoStili, 5>& PercorsiStili() {
  static const std::array<PercorsoStili, 5> percorsi = {{
      {"STILI", "Stili di vita:", "Stili di vita"},
      {"DIA", "Diabete:", "Diabete"},
      {"BPCO", "BPCO:", "BPCO"},
      {"SCOMP", "Scompenso:", "Scompenso"},
      {"TAO", "TAO:", "TAO"},
  }};
  return percorsi;
}

std::vector<ConteggioPercorso> ContaPercorsi(const std::vector<host::VoceAssistito>& assistiti,
                                             int anno,
                                             const std::vector<std::set<std::string>>& trovati) {
  std::vector<ConteggioPercorso> conteggi;
  for (std::size_t i = 0; i < PercorsiStili().size(); ++i) {
    const auto& p = PercorsiStili()[i];
    ConteggioPercorso conteggio{p.codice, p.etichetta, 0};
    if (i < trovati.size()) {
      conteggio.arruolati = std::count_if(assistiti.begin(), assistiti.end(), [&](const auto& a) {
        return InPopolazione(Popolazione::Over14, a, anno) && trovati[i].contains(a.ID);
      });
    }
    conteggi.push_back(std::move(conteggio));
  }
  return conteggi;
}

std::string FileStili(const std::string& data_estrazione, int anno, const MedicoPDTA& medico,
                      const std::vector<ConteggioPercorso>& conteggi) {
  util::clsXML xml;
  auto* root = TestataPDTA(xml, data_estrazione, anno, medico);
  auto* pdta = xml.AddNode(root, "pdta");
  for (const auto& c : conteggi) {
    auto* nodo = xml.AddNode(pdta, "percorso");
    xml.AddNode(nodo, "codice", c.codice);
    xml.AddNode(nodo, "descrizione", c.etichetta);
    xml.AddNode(nodo, "arruolati", std::to_string(c.arruolati));
  }
  return xml.XML();
}

std::optional<std::vector<std::pair<std::string, std::string>>> LeggiFileStili(
    const std::string& testo) {
  util::clsXML xml;
  if (!xml.LoadXML(testo) || util::clsXML::Nome(xml.rootNode()) != "records" ||
      !xml.ExistNode(xml.rootNode(), "pdta")) {
    return std::nullopt;
  }
  std::vector<std::pair<std::string, std::string>> righe;
  for (auto* nodo : xml.SelectNodeList(xml.rootNode(), "pdta/percorso")) {
    righe.emplace_back(xml.GetTextNode(nodo, "descrizione"), xml.GetTextNode(nodo, "arruolati"));
  }
  return righe;
}

std::string NomeFileStili(const std::string& codice_fiscale) {
  std::string cf = util::Trim(codice_fiscale);
  std::transform(cf.begin(), cf.end(), cf.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return cf + "_PDTA_AULSS507.xml";
}

}  // namespace qzkiro::pdta
