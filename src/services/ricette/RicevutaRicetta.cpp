#include "services/ricette/RicevutaRicetta.h"

#include "util/Testo.h"
#include "util/clsXML.h"

namespace qzkiro::services {

namespace {

// Line ends of the services' texts become line feeds.
std::string LineFeed(std::string testo) {
  testo = util::Replace(testo, "\r\n", "\n");
  testo = util::Replace(testo, "\r", "\n");
  return testo;
}

}  // namespace

bool RicevutaRossa::Appropriatezza() const {
  for (const auto& e : errori) {
    if (e.codice == "9") return true;
  }
  return false;
}

std::string RicevutaRossa::Messaggi() const {
  std::string testo;
  auto riga = [&](const std::string& r) { testo += (testo.empty() ? "" : "\n") + r; };
  for (const auto& e : errori) riga(e.codice + " - " + e.esito);
  for (const auto& c : comunicazioni) riga(c);
  return testo;
}

std::string CollegamentoComunicazione(const std::string& codificato) {
  std::string link = codificato;
  for (const auto& [da, a] : {std::pair{"%3a", ":"},
                              {"%2f", "/"},
                              {"%3f", "?"},
                              {"%3d", "="},
                              {"%26", "&"},
                              {"%3A", ":"},
                              {"%2F", "/"},
                              {"%3F", "?"},
                              {"%3D", "="}}) {
    link = util::Replace(link, da, a);
  }
  link = util::Replace(link, "&", "&amp;");
  return "<Hyperlink Tag='" + link + "'>Ulteriori dettagli</Hyperlink>";
}

bool LeggiRicevutaRossa(const std::string& risposta, RicevutaRossa& r, std::string& errore) {
  if (risposta.empty()) {
    errore = "Nessuna risposta dal server";
    return false;
  }
  util::clsXML xml;
  if (!xml.LoadXML(risposta)) {
    errore = "Risposta del server non corretta";
    return false;
  }
  const std::string base = "Body/InvioPrescrittoRicevuta/";
  auto radice = xml.rootNode();
  r.codice = xml.GetTextNode(radice, base + "codEsitoInserimento");
  r.autenticazione = xml.GetTextNode(radice, base + "codAutenticazione");
  r.nre = xml.GetTextNode(radice, base + "nre");
  for (auto n : xml.SelectNodeList(radice, base + "ElencoErroriRicette/ErroreRicetta")) {
    r.errori.push_back({xml.GetTextNode(n, "codEsito"), LineFeed(xml.GetTextNode(n, "esito")),
                        xml.GetTextNode(n, "tipoErrore")});
  }
  for (auto n : xml.SelectNodeList(radice, base + "ElencoComunicazioni/Comunicazione")) {
    const std::string messaggio = LineFeed(xml.GetTextNode(n, "messaggio"));
    r.comunicazioni.push_back(
        xml.GetTextNode(n, "codice") == "URL" ? CollegamentoComunicazione(messaggio) : messaggio);
  }
  return true;
}

}  // namespace qzkiro::services
