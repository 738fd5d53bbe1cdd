#include "MostraHl7.h"

#include <nlohmann/json.hpp>

#include <ostream>
#include <vector>

#include "hl7/ElencoProprieta.h"
#include "hl7/clsHL7.h"
#include "util/File.h"
#include "util/clsXML.h"

namespace qzkiro::kiro {

namespace {

using Nodo = util::clsXML::Nodo;

// The node each message is read from (see MostraHl7).
std::vector<Nodo> Messaggi(util::clsXML& xml) {
  Nodo radice = xml.rootNode();
  if (xml.SelectNode(radice, "PID")) return {radice};
  std::vector<Nodo> messaggi;
  for (Nodo gruppo : util::clsXML::Figli(radice)) {
    if (Nodo pid = xml.SelectNode(gruppo, ".//PID")) messaggi.push_back(util::clsXML::Padre(pid));
  }
  if (messaggi.empty()) messaggi.push_back(radice);
  return messaggi;
}

// The properties in the order of the class.
nlohmann::ordered_json Proprieta(hl7::clsHL7& hl7) {
  nlohmann::ordered_json oggetto = nlohmann::ordered_json::object();
  for (const auto& proprieta : hl7::ProprietaTesto()) {
    std::string valore = (hl7.*proprieta.leggi)();
    if (!valore.empty()) oggetto[std::string(proprieta.nome)] = std::move(valore);
  }
  if (hl7.DayHospital()) oggetto["DayHospital"] = true;
  nlohmann::ordered_json esenzioni = nlohmann::ordered_json::array();
  for (Nodo esenzione : hl7.ListaEsenzioni()) {
    esenzioni.push_back({{"CodiceEsenzione", hl7.CodiceEsenzione(esenzione)},
                         {"DataScadenzaEsenzione", hl7.DataScadenzaEsenzione(esenzione)}});
  }
  if (!esenzioni.empty()) oggetto["ListaEsenzioni"] = std::move(esenzioni);
  return oggetto;
}

}  // namespace

int MostraHl7(const std::string& file, std::ostream& out, std::ostream& err) {
  if (!util::LeggiFile(file)) {
    err << "Impossibile leggere il file " << file << '\n';
    return 1;
  }
  util::clsXML xml;
  if (!xml.LoadFileXML(file)) {
    err << "Il file " << file << " non è un messaggio HL7 XML leggibile:\n"
        << xml.LastError() << '\n';
    return 1;
  }
  hl7::clsHL7 hl7;
  hl7.InitXML(xml);
  std::string versione = xml.GetTextNode(xml.rootNode(), "MSH/MSH.12/VID.1");
  if (versione.empty()) versione = xml.GetTextNode(xml.rootNode(), "MSH/MSH.12");
  hl7.Versione = versione;
  nlohmann::ordered_json messaggi = nlohmann::ordered_json::array();
  for (Nodo messaggio : Messaggi(xml)) {
    hl7.InitParentNode(messaggio);
    messaggi.push_back(Proprieta(hl7));
  }
  // Text that is not UTF-8 is shown with replacement characters, never refused.
  out << messaggi.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
  return 0;
}

}  // namespace qzkiro::kiro
