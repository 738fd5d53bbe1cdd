#include "flows/asl/InvioFlussoAsl.h"

#include "core/Contesto.h"
#include "core/modLog.h"
#include "net/CertificatoDem.h"
#include "net/clsSOAP.h"
#include "util/Testo.h"
#include "util/clsXML.h"

namespace qzkiro::asl {

namespace {

constexpr const char* kApertura =
    "<soapenv:Envelope xmlns:soapenv=\"http://schemas.xmlsoap.org/soap/envelope/\" "
    "xmlns:ws=\"it/insielmercato/flussocontattimmg/ws\"><soapenv:Header/><soapenv:Body>";
constexpr const char* kChiusura = "</soapenv:Body></soapenv:Envelope>";

void Campo(std::string& busta, const char* nome, const std::string& valore) {
  busta += '<';
  busta += nome;
  busta += '>';
  busta += util::XmlEscape(valore);
  busta += "</";
  busta += nome;
  busta += '>';
}

}  // namespace

std::string BustaInvioFlusso(const std::string& dati_base64, const std::string& nome_file,
                             const std::string& username, const std::string& password) {
  std::string busta;
  busta.reserve(dati_base64.size() + 1024);
  busta += kApertura;
  busta += "<ws:invioFlusso><arg0><data>";
  busta += dati_base64;  // Base64 needs no escaping
  busta += "</data>";
  Campo(busta, "mimeType", "text/xml");
  Campo(busta, "fileName", nome_file);
  Campo(busta, "tipoFlusso", "MMG");
  Campo(busta, "password", password);
  Campo(busta, "username", username);
  Campo(busta, "zipped", "false");
  busta += "</arg0></ws:invioFlusso>";
  busta += kChiusura;
  return busta;
}

std::string BustaInvioPdta(const std::string& cf_medico, const std::string& username,
                           const std::string& password, const std::string& id_file,
                           const std::string& file) {
  std::string busta = kApertura;
  busta += "<ws:invioPdta><arg0>";
  Campo(busta, "cfMedico", cf_medico);
  Campo(busta, "username", username);
  Campo(busta, "password", password);
  Campo(busta, "idFile", id_file);
  Campo(busta, "file", file);
  busta += "</arg0></ws:invioPdta>";
  busta += kChiusura;
  return busta;
}

bool EsitoFlussoAsl::Accettato() const {
  return letto && codice == "0" && errori.empty();
}

std::string EsitoFlussoAsl::Messaggio(const std::string& file_origine) const {
  std::string testo = descrizione.empty() ? "Codice " + codice : descrizione;
  for (const auto& errore : errori) testo += "\r\n" + errore;
  return testo + "\r\nFile di origine: " + file_origine;
}

EsitoFlussoAsl LeggiEsitoFlussoAsl(const std::string& risposta, const std::string& operazione) {
  EsitoFlussoAsl esito;
  util::clsXML xml;
  if (!xml.LoadXML(risposta, true)) return esito;
  esito.letto = true;
  const std::string ritorno = "Body/" + operazione + "Response/return";
  esito.codice = xml.GetTextNode(xml.rootNode(), ritorno + "/codice");
  esito.descrizione = xml.GetTextNode(xml.rootNode(), ritorno + "/descrizione");
  for (auto* nodo : xml.SelectNodeList(xml.rootNode(), ritorno + "/errori/descrizioneErrore")) {
    esito.errori.push_back(util::clsXML::Testo(nodo));
  }
  return esito;
}

std::string IndirizzoServizioFlussi(ServizioAsl servizio) {
  const auto& s = core::Ctx().settings;
  return s.Endpoint(servizio == ServizioAsl::kAziendale ? "flussoasl050103" : "flussoasl");
}

ScambioFlussi InviaAlServizioFlussi(ServizioAsl servizio, const std::string& etichetta,
                                    const std::string& busta, const std::string& operazione) {
  auto& c = core::Ctx();
  net::clsSOAP soap;
  soap.ImpostaDaSettings(c.settings);
  soap.URL = IndirizzoServizioFlussi(servizio) + kPercorsoServizioFlussi;
  soap.Servizio = etichetta;
  soap.FileLog = core::modLog::SoapDumpFileName(c);
  if (servizio == ServizioAsl::kAziendale) {
    soap.FileCertTLS = net::CertificatoDem();
    soap.PasswordTLS = net::PasswordCertificatoDem();
  }
  ScambioFlussi scambio;
  if (soap.Send(busta)) {
    scambio.esito = LeggiEsitoFlussoAsl(soap.Response(), operazione);
    return scambio;
  }
  const bool risposto = soap.LastHttpError() != "0";
  if (risposto) {
    // A refusal the service explains in its own answer is read like one.
    auto esito = LeggiEsitoFlussoAsl(soap.LastErrorResponse(), operazione);
    if (esito.letto && (!esito.codice.empty() || !esito.errori.empty())) {
      scambio.esito = std::move(esito);
      return scambio;
    }
  }
  scambio.errore = soap.LastError();
  return scambio;
}

}  // namespace qzkiro::asl
