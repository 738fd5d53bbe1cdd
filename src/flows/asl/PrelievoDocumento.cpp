#include "flows/asl/PrelievoDocumento.h"

#include <algorithm>
#include <cctype>

#include "util/Testo.h"

namespace qzkiro::asl {

namespace {

std::string Maiuscolo(std::string testo) {
  for (auto& c : testo) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return testo;
}

bool Cifre(const std::string& t, std::size_t da, std::size_t quante) {
  return t.size() >= da + quante &&
         std::all_of(t.begin() + static_cast<long>(da), t.begin() + static_cast<long>(da + quante),
                     [](unsigned char c) { return std::isdigit(c) != 0; });
}

std::string Riga(const char* voce, const std::string& valore) {
  return "<tr><th>" + std::string(voce) + "</th><td>" + util::XmlEscape(valore) + "</td></tr>";
}

}  // namespace

DatiPrelievo DatiDaRicetta(host::IRicetta& ricetta) {
  DatiPrelievo dati;
  dati.paziente = Maiuscolo(util::Trim(ricetta.Membro("PazienteCodiceFiscale").ToText()));
  dati.data = util::Trim(ricetta.Membro("Data").ToText());
  dati.medico = Maiuscolo(util::Trim(ricetta.Membro("MedicoCodiceFiscale").ToText()));
  for (const auto& riga : ricetta.ListaPrescrizioni()) {
    if (!riga) continue;
    const std::string descrizione = util::Trim(riga->Membro("Descrizione").ToText());
    if (!descrizione.empty()) dati.esami.push_back(descrizione);
  }
  return dati;
}

std::string DataLeggibile(const std::string& data) {
  if (Cifre(data, 0, 4) && data.size() >= 10 && data[4] == '-' && Cifre(data, 5, 2) &&
      data[7] == '-' && Cifre(data, 8, 2)) {
    return data.substr(8, 2) + "/" + data.substr(5, 2) + "/" + data.substr(0, 4);
  }
  if (Cifre(data, 0, 8)) {
    return data.substr(6, 2) + "/" + data.substr(4, 2) + "/" + data.substr(0, 4);
  }
  return data;
}

std::string PaginaPrelievo(const DatiPrelievo& dati) {
  std::string pagina =
      "<!DOCTYPE html>\n<html lang=\"it\"><head><meta charset=\"utf-8\">"
      "<title>Richiesta di prelievo ematico domiciliare - " +
      util::XmlEscape(dati.paziente) +
      "</title><style>"
      "body{font-family:sans-serif;font-size:11pt}"
      "th{text-align:left;padding-right:2em}"
      "</style></head><body>\n"
      "<h1>Richiesta di prelievo ematico domiciliare</h1>\n<table>" +
      Riga("Paziente (codice fiscale)", dati.paziente) +
      Riga("Data della richiesta", DataLeggibile(dati.data)) +
      Riga("Medico richiedente (codice fiscale)", dati.medico) + "</table>\n";
  if (!dati.esami.empty()) {
    pagina += "<h2>Esami richiesti</h2>\n<ul>";
    for (const auto& esame : dati.esami) pagina += "<li>" + util::XmlEscape(esame) + "</li>";
    pagina += "</ul>\n";
  }
  return pagina + "</body></html>\n";
}

}  // namespace qzkiro::asl
