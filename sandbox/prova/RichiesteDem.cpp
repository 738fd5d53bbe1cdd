#include "sandbox/prova/RichiesteDem.h"

#include <algorithm>
#include <stdexcept>

#include "sandbox/Ricette.h"

namespace qzkiro::sandbox::prova {

namespace {

// The kit's order of a red send's header fields and of a line's.
constexpr std::string_view kOrdineTestata =
    "pinCode cfMedico1 cfMedico2 codRegione codASLAo codStruttura codSpecializzazione testata1 "
    "testata2 nre tipoRic codiceAss cognNome indirizzo oscuramDati numTessSasn socNavigaz "
    "tipoPrescrizione ricettaInterna codEsenzione nonEsente reddito codDiagnosi "
    "descrizioneDiagnosi dataCompilazione tipoVisita dispReg provAssistito aslAssistito "
    "indicazionePrescr altro classePriorita confidentialityCode statoEstero istituzCompetente "
    "numIdentPers numIdentTess dataNascitaEstero dataScadTessera";
constexpr std::string_view kOrdineRiga =
    "codProdPrest descrProdPrest codGruppoEquival descrGruppoEquival testoLibero "
    "descrTestoLiberoNote nonSost motivazNote codMotivazione notaProd quantita prescrizione1 "
    "prescrizione2 codCatalogoPrescr tipoAccesso";

Campi InOrdine(const Valori& valori, std::string_view ordine) {
  Campi campi;
  for (std::size_t inizio = 0; inizio < ordine.size();) {
    const std::size_t fine = std::min(ordine.find(' ', inizio), ordine.size());
    const std::string nome(ordine.substr(inizio, fine - inizio));
    if (const auto it = valori.find(nome); it != valori.end()) campi.emplace_back(*it);
    inizio = fine + 1;
  }
  if (campi.size() != valori.size()) throw std::invalid_argument("campo fuori dal kit");
  return campi;
}

std::string Campi3(const std::string& nre, const std::string& cf_medico) {
  return "<p:pinCode></p:pinCode><p:nre>" + nre + "</p:nre><p:cfMedico>" + cf_medico +
         "</p:cfMedico>";
}

}  // namespace

std::string BustaDem(const std::string& corpo, const std::string& asserzione) {
  const std::string sicurezza =
      "<soapenv:Header><wsse:Security xmlns:wsse=\"http://docs.oasis-open.org/wss/2004/01/"
      "oasis-200401-wss-wssecurity-secext-1.0.xsd\"><saml:Assertion "
      "xmlns:saml=\"urn:oasis:names:tc:SAML:2.0:assertion\" ID=\"" +
      asserzione +
      "\" Version=\"2.0\" IssueInstant=\"2026-03-05T10:20:30Z\"><saml:Issuer>"
      "http://identityAndAssertionsProvider</saml:Issuer><saml:Subject><saml:NameID>"
      "MDCPRV70A01H501X</saml:NameID></saml:Subject><saml:AttributeStatement><saml:Attribute "
      "Name=\"urn:oasis:names:tc:xacml:2.0:subject:role\"><saml:AttributeValue>Medico"
      "</saml:AttributeValue></saml:Attribute></saml:AttributeStatement></saml:Assertion>"
      "</wsse:Security></soapenv:Header>";
  return "<soapenv:Envelope xmlns:soapenv=\"http://schemas.xmlsoap.org/soap/envelope/\">" +
         (asserzione.empty() ? "" : sicurezza) + "<soapenv:Body>" + corpo +
         "</soapenv:Body></soapenv:Envelope>";
}

std::string ElementoDem(std::string_view radice, std::string_view ns, const Campi& campi,
                        const std::string& dentro) {
  const std::string r(radice);
  std::string xml = "<p:" + r + " xmlns:p=\"" + std::string(ns) + "\">";
  for (const auto& [nome, valore] : campi) xml += "<p:" + nome + ">" + valore + "</p:" + nome + ">";
  return xml + dentro + "</p:" + r + ">";
}

std::string Rossa(const Valori& testata, const Valori& riga, int righe) {
  Valori campi = {{"pinCode", ""},
                  {"cfMedico1", "MDCPRV70A01H501X"},
                  {"codRegione", "190"},
                  {"codASLAo", "201"},
                  {"codSpecializzazione", "P"},
                  {"codiceAss", "QUJD"},
                  {"cognNome", "ROSSI MARIO"},
                  {"tipoPrescrizione", "P"},
                  {"dataCompilazione", "2026-03-05 10:20:30"},
                  {"tipoVisita", "A"}};
  for (const auto& [nome, valore] : testata) campi[nome] = valore;
  std::string elenco;
  for (int i = 0; i < righe; ++i) {
    Valori dettaglio = {{"codProdPrest", "P" + std::to_string(i)}, {"quantita", "1"}};
    for (const auto& [nome, valore] : riga) dettaglio[nome] = valore;
    std::string xml;
    for (const auto& [nome, valore] : InOrdine(dettaglio, kOrdineRiga)) {
      xml += "<td:" + nome + ">" + valore + "</td:" + nome + ">";
    }
    elenco += "<td:DettaglioPrescrizione>" + xml + "</td:DettaglioPrescrizione>";
  }
  return ElementoDem("InvioPrescrittoRichiesta",
                     "http://invioprescrittorichiesta.xsd.dem.sanita.finanze.it",
                     InOrdine(campi, kOrdineTestata),
                     "<p:ElencoDettagliPrescrizioni xmlns:td=\"" + std::string(kNsTipiDati) +
                         "\">" + elenco + "</p:ElencoDettagliPrescrizioni>");
}

std::string Annullamento(const std::string& nre, const std::string& cf_medico) {
  return "<p:AnnullaPrescrittoRichiesta "
         "xmlns:p=\"http://annullaprescrittorichiesta.xsd.dem.sanita.finanze.it\">" +
         Campi3(nre, cf_medico) + "</p:AnnullaPrescrittoRichiesta>";
}

std::string Visualizzazione(const std::string& nre, const std::string& cf_medico) {
  return "<p:VisualizzaPrescrittoRichiesta "
         "xmlns:p=\"http://visualizzaprescrittorichiesta.xsd.dem.sanita.finanze.it\">" +
         Campi3(nre, cf_medico) + "</p:VisualizzaPrescrittoRichiesta>";
}

std::vector<std::string> IntestazioniDem(std::string_view servizio) {
  return {"Content-Type: text/xml; charset=utf-8",
          "SOAPAction: \"" + std::string(ServiziRicetta::Azione(servizio)) + "\""};
}

}  // namespace qzkiro::sandbox::prova
