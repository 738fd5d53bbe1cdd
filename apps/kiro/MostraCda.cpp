#include "MostraCda.h"

#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>
#include <ostream>

#include "cda/clsCDA.h"
#include "cda/clsCDA2.h"
#include "util/clsXML.h"

namespace qzkiro::kiro {

namespace {

using nlohmann::ordered_json;

// The document in `file`, or null after telling why on `err`.
std::shared_ptr<util::clsXML> Apri(const std::string& file, std::ostream& err) {
  std::error_code errore;
  if (!std::filesystem::is_regular_file(file, errore)) {
    err << "Il file " << file << " non esiste o non è leggibile\n";
    return nullptr;
  }
  auto xml = std::make_shared<util::clsXML>();
  // Loaded as it is: the user's file is never rewritten.
  if (!xml->LoadFileXML(file)) {
    err << "Il file " << file << " non è un documento XML valido:\n" << xml->LastError() << '\n';
    return nullptr;
  }
  if (cda::NomeLocale(xml->rootNode()) != "ClinicalDocument") {
    err << "Il file " << file << " non è un documento CDA\n";
    return nullptr;
  }
  return xml;
}

// The older regional layout keeps its body under "bodyChoice".
bool Vecchio(const util::clsXML& xml) {
  return cda::Primo(xml.rootNode(), "component/bodyChoice") != nullptr;
}

template <class Lettore>
ordered_json Risultato(const Lettore& cda) {
  return {{"Codice", cda.Codice()},
          {"Descrizione", cda.Descrizione()},
          {"Catalogo", cda.Catalogo()},
          {"Esito", cda.Esito()},
          {"EsitoNumerico", cda.EsitoNumerico()},
          {"TipoEsito", static_cast<int>(cda.TipoEsito())},
          {"UM", cda.UM()},
          {"RangeDa", cda.RangeDa()},
          {"RangeA", cda.RangeA()},
          {"Alterato", cda.Alterato()},
          {"Gruppo", cda.Gruppo()}};
}

// The header fields both layouts have.
template <class Lettore>
ordered_json Intestazione(const Lettore& cda, const char* formato) {
  return {{"Formato", formato},
          {"ID", cda.ID()},
          {"Titolo", cda.Titolo()},
          {"Tipo", cda.Tipo()},
          {"DescrizioneTipo", cda.DescrizioneTipo()},
          {"Data", cda.Data()},
          {"MedicoRefertante", cda.MedicoRefertante()},
          {"MedicoResponsabile", cda.MedicoResponsabile()},
          {"Istituto", cda.Istituto()}};
}

ordered_json Documento2(const std::shared_ptr<util::clsXML>& xml) {
  cda::clsCDA2 cda;
  cda.InitXML(xml);
  ordered_json json = Intestazione(cda, "CDA2");
  json["IDPrescrizione"] = cda.IDPrescrizione();
  json["Paziente"] = {{"CodiceFiscale", cda.PazienteCodiceFiscale()},
                      {"Cognome", cda.PazienteCognome()},
                      {"Nome", cda.PazienteNome()},
                      {"Sesso", cda.PazienteSesso()},
                      {"DataNascita", cda.PazienteDataNascita()}};
  json["Osservazioni"] = ordered_json::array();
  const std::string sesso = cda.PazienteSesso();
  for (cda::Nodo n : cda.ListaObservationsLAB()) {
    cda.InitParentNode(n);
    ordered_json risultato = Risultato(cda);
    // The ranges of the document's own patient.
    risultato["RangeDa"] = cda.RangeDaPerSesso(sesso);
    risultato["RangeA"] = cda.RangeAPerSesso(sesso);
    risultato["DataOraPrelievo"] = cda.DataOraPrelievo();
    json["Osservazioni"].push_back(std::move(risultato));
  }
  return json;
}

ordered_json DocumentoVecchio(const std::shared_ptr<util::clsXML>& xml) {
  cda::clsCDA cda;
  cda.InitXML(xml);
  ordered_json json = Intestazione(cda, "CDA");
  json["Osservazioni"] = ordered_json::array();
  for (cda::Nodo n : cda.ListaObservationsLAB()) {
    cda.InitParentNode(n);
    json["Osservazioni"].push_back(Risultato(cda));
  }
  return json;
}

}  // namespace

int MostraCda(const std::string& file, std::ostream& out, std::ostream& err) {
  auto xml = Apri(file, err);
  if (!xml) return 1;
  const ordered_json json = Vecchio(*xml) ? DocumentoVecchio(xml) : Documento2(xml);
  // Texts the document holds in another encoding than UTF-8 are shown anyway.
  out << json.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
  return 0;
}

int HtmlCda(const std::string& file, std::ostream& out, std::ostream& err) {
  auto xml = Apri(file, err);
  if (!xml) return 1;
  if (Vecchio(*xml)) {
    cda::clsCDA cda;
    cda.InitXML(xml);
    out << cda.Text() << '\n';
  } else {
    cda::clsCDA2 cda;
    cda.InitXML(xml);
    out << cda.Text() << '\n';
  }
  return 0;
}

}  // namespace qzkiro::kiro
