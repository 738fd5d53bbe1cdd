#include "flows/pdta/FilePDTA.h"

#include <algorithm>
#include <cctype>

#include "util/Testo.h"
#include "util/clsXML.h"

namespace qzkiro::pdta {

namespace {

std::string Maiuscolo(std::string testo) {
  std::transform(testo.begin(), testo.end(), testo.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return testo;
}

}  // namespace

util::clsXML::Nodo TestataPDTA(util::clsXML& xml, const std::string& data_estrazione, int anno,
                               const MedicoPDTA& medico) {
  auto* root = xml.CreateRootNode("records");
  auto* estrazione = xml.AddNode(root, "estrazione");
  const std::string a = std::to_string(anno);
  xml.AddNode(estrazione, "data_estrazione", data_estrazione);
  xml.AddNode(estrazione, "data_inizio_periodo", a + "-01-01");
  xml.AddNode(estrazione, "data_fine_periodo", a + "-12-31");
  auto* m = xml.AddNode(root, "medico");
  xml.AddNode(m, "CF_medico", medico.codice_fiscale);
  xml.AddNode(m, "cognome_medico", medico.cognome);
  xml.AddNode(m, "nome_medico", medico.nome);
  return root;
}

std::string FilePDTA(const std::string& data_estrazione, int anno, const MedicoPDTA& medico,
                     const std::vector<ValoreIndicatore>& indicatori) {
  util::clsXML xml;
  auto* root = TestataPDTA(xml, data_estrazione, anno, medico);
  auto* lista = xml.AddNode(root, "indicatori");
  for (const auto& i : indicatori) {
    auto* nodo = xml.AddNode(lista, "indicatore");
    xml.AddNode(nodo, "codice", i.codice);
    xml.AddNode(nodo, "descrizione", i.descrizione);
    xml.AddNode(nodo, "numeratore", std::to_string(i.numeratore));
    xml.AddNode(nodo, "denominatore", std::to_string(i.denominatore));
    xml.AddNode(nodo, "valore", TestoValore(i));
  }
  return xml.XML();
}

std::optional<std::vector<RigaPDTA>> LeggiFilePDTA(const std::string& testo) {
  util::clsXML xml;
  if (!xml.LoadXML(testo) || util::clsXML::Nome(xml.rootNode()) != "records" ||
      !xml.ExistNode(xml.rootNode(), "indicatori")) {
    return std::nullopt;
  }
  std::vector<RigaPDTA> righe;
  for (auto* nodo : xml.SelectNodeList(xml.rootNode(), "indicatori/indicatore")) {
    righe.push_back({xml.GetTextNode(nodo, "descrizione"), xml.GetTextNode(nodo, "numeratore"),
                     xml.GetTextNode(nodo, "denominatore"), xml.GetTextNode(nodo, "valore")});
  }
  return righe;
}

std::string NomeFileRemoto(const std::string& codice_fiscale, int anno) {
  const std::string a = std::to_string(anno);
  return Maiuscolo(util::Trim(codice_fiscale)) + "_0101" + a + "_3112" + a + ".xml";
}

std::string TestoAnsi(const std::string& testo) {
  std::string latino = util::Utf8ToLatin1(testo);
  if (latino.rfind("<?xml", 0) != 0) return latino;
  const auto fine = latino.find("?>");
  if (fine == std::string::npos) return latino;
  for (const char* dichiarato :
       {"encoding='UTF-8'", "encoding=\"UTF-8\"", "encoding='utf-8'", "encoding=\"utf-8\""}) {
    const auto at = latino.find(dichiarato);
    if (at != std::string::npos && at < fine) {
      const char virgolette = dichiarato[9];
      latino.replace(at, std::string(dichiarato).size(),
                     std::string("encoding=") + virgolette + "ISO-8859-1" + virgolette);
      break;
    }
  }
  return latino;
}

}  // namespace qzkiro::pdta
