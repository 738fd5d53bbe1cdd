#include "services/ivaq/MessaggiIvaq.h"

#include "util/clsXML.h"

namespace qzkiro::ivaq {

namespace {

using util::clsXML;
using Tipo = EsitoIvaq::Tipo;

constexpr const char* kApertura = "<FlussoIVAQC";
constexpr const char* kChiusura = "</FlussoIVAQC";

// "codice - testo" of each entry below `ricevuta`, one per line.
std::string Righe(clsXML& xml, clsXML::Nodo ricevuta, const std::string& percorso,
                  const char* codice, const char* testo) {
  std::string righe;
  for (clsXML::Nodo voce : xml.SelectNodeList(ricevuta, percorso)) {
    righe += "\r\n" + xml.GetTextNode(voce, codice) + " - " + xml.GetTextNode(voce, testo);
  }
  return righe;
}

// A SOAP 1.2 fault's code and detail (a SOAP 1.1 faultstring otherwise).
std::string TestoFault(clsXML& xml, clsXML::Nodo fault) {
  std::string testo = xml.GetTextNode(fault, "Detail/error/text");
  if (testo.empty()) testo = xml.GetTextNode(fault, "faultstring");
  if (testo.empty()) testo = xml.GetTextNode(fault, "Reason/Text");
  const std::string codice = xml.GetTextNode(fault, "Code/Value");
  return codice.empty() ? testo : codice + " - " + testo;
}

}  // namespace

std::optional<std::string> ContenutoFlusso(const std::string& documento) {
  const auto apertura = documento.find(kApertura);
  if (apertura == std::string::npos) return std::nullopt;
  const auto inizio = documento.find('>', apertura);
  const auto fine = documento.find(kChiusura, apertura);
  if (inizio == std::string::npos || fine == std::string::npos || fine <= inizio) {
    return std::nullopt;
  }
  return documento.substr(inizio + 1, fine - inizio - 1);
}

std::string BustaIvaq(const std::string& contenuto, const std::string& message_id) {
  return "<soap:Envelope xmlns:soap=\"http://www.w3.org/2003/05/soap-envelope\" "
         "xmlns:urn=\"urn:rve:indiceivaqc\" "
         "xmlns:oas=\"http://docs.oasis-open.org/wss/2004/01/"
         "oasis-200401-wss-wssecurity-secext-1.0.xsd\" "
         "xmlns:add=\"http://www.w3.org/2005/08/addressing\">"
         "<soap:Header><oas:Security>[Asserzione]</oas:Security>"
         "<add:MessageID>" +
         message_id +
         "</add:MessageID><add:To>http://SAR</add:To></soap:Header>"
         "<soap:Body><urn:FlussoIVAQC xmlns=\"urn:rve:indiceivaqc\">" +
         contenuto + "</urn:FlussoIVAQC></soap:Body></soap:Envelope>";
}

EsitoIvaq LeggiRispostaIvaq(const std::string& risposta) {
  if (risposta.empty()) return {Tipo::kVuota, "Il servizio ha restituito una risposta vuota"};
  clsXML xml;
  const EsitoIvaq illeggibile{Tipo::kIlleggibile, "Non è stato possibile leggere la risposta"};
  if (!xml.LoadXML(risposta)) return illeggibile;
  if (clsXML::Nodo fault = xml.SelectNode(xml.rootNode(), "Body/Fault")) {
    return {Tipo::kFault, TestoFault(xml, fault)};
  }
  clsXML::Nodo ricevuta = xml.SelectNode(xml.rootNode(), "Body/FlussoIVAQCRicevuta");
  const std::string codice = xml.GetTextNode(ricevuta, "codEsito");
  if (!ricevuta || codice.empty()) return illeggibile;
  if (codice == "0000") return {Tipo::kAccettato, {}};
  return {Tipo::kRifiutato,
          "Codice Esito: " + codice +
              Righe(xml, ricevuta, "ElencoErrori/ErroreFlusso", "codEsito", "esito") +
              Righe(xml, ricevuta, "ElencoComunicazioni/Comunicazione", "codice", "messaggio")};
}

}  // namespace qzkiro::ivaq
