#include "fhir/RicercaFhir.h"

#include <cctype>

#include "fhir/CodiciFhir.h"
#include "fhir/LetturaFhir.h"

namespace qzkiro::fhir {

namespace {

std::string Date(std::string_view dalla, std::string_view alla) {
  std::string query;
  if (DataRicerca(dalla)) query += "&date=ge" + std::string(dalla);
  if (DataRicerca(alla)) query += "&date=le" + std::string(alla);
  return query;
}

}  // namespace

std::string QueryIdentificativo(std::string_view sistema, std::string_view valore) {
  return "identifier=" + std::string(sistema) + "|" + std::string(valore);
}

bool DataRicerca(std::string_view t) {
  if (t.size() != 10 || t[4] != '-' || t[7] != '-') return false;
  for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) {
    if (!std::isdigit(static_cast<unsigned char>(t[i]))) return false;
  }
  return true;
}

std::string QueryRicercaCarePlan(std::string_view cf_utente, std::string_view cf_paziente,
                                 std::string_view dalla_data, std::string_view alla_data) {
  std::string query = "CarePlan?";
  query += cf_paziente.empty() ? "performer." + QueryIdentificativo(kOidCodiceFiscale, cf_utente)
                               : "patient." + QueryIdentificativo(kOidCodiceFiscale, cf_paziente);
  return query + Date(dalla_data, alla_data);
}

std::string QueryRicercaIndicatori(std::string_view cf_utente, std::string_view codice,
                                   std::string_view dalla_data, std::string_view alla_data) {
  std::string query =
      "/Observation?performer." + QueryIdentificativo(kOidCodiceFiscale, cf_utente);
  if (!codice.empty()) query += "&code=" + std::string(codice);
  return query + Date(dalla_data, alla_data);
}

std::string PrimoIdRisorsa(std::string_view risposta, std::string_view tipo,
                           bool salta_annullate) {
  util::clsXML xml;
  if (!CaricaRisposta(xml, risposta) || NomeRisorsa(xml.rootNode()) != "Bundle") return {};
  for (NodoFhir entry : Figli(xml.rootNode(), "entry")) {
    NodoFhir r = RisorsaDellaVoce(entry);
    if (NomeRisorsa(r) != tipo) continue;
    if (salta_annullate && Valore(r, "status") == "cancelled") continue;
    if (std::string id = Valore(r, "id"); !id.empty()) return id;
  }
  return {};
}

}  // namespace qzkiro::fhir
