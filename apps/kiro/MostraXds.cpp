#include "MostraXds.h"

#include <nlohmann/json.hpp>

#include <ostream>
#include <sstream>

#include "util/File.h"
#include "xds/RigaDocumento.h"
#include "xds/RispostaRegistro.h"

namespace qzkiro::kiro {

int MostraXds(const std::string& file, std::ostream& out, std::ostream& err) {
  const auto dati = util::LeggiFile(file);
  if (!dati) {
    err << "Impossibile leggere il file " << file << '\n';
    return 1;
  }
  const xds::RispostaRegistro risposta = xds::LeggiRispostaRegistro(util::ComeTesto(*dati));
  if (!risposta.xml) {
    err << "Il file " << file << " non è una risposta del registro leggibile: " << risposta.errore
        << '\n';
    return 1;
  }
  nlohmann::ordered_json righe = nlohmann::ordered_json::array();
  for (const auto& voce : risposta.voci) {
    if (xds::TipoEscluso(voce)) continue;
    nlohmann::ordered_json riga = nlohmann::ordered_json::object();
    for (const auto& [nome, valore] : xds::ParametriRiga(voce)) riga[nome] = valore;
    righe.push_back(std::move(riga));
  }
  nlohmann::ordered_json errori = nlohmann::ordered_json::array();
  std::istringstream linee(risposta.errore);
  for (std::string linea; std::getline(linee, linea);) {
    if (!linea.empty() && linea.back() == '\r') linea.pop_back();
    errori.push_back(linea);
  }
  out << nlohmann::ordered_json{{"righe", righe}, {"errori", errori}}.dump(2) << '\n';
  return 0;
}

}  // namespace qzkiro::kiro
