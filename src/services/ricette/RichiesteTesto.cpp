#include "services/ricette/RichiesteTesto.h"

#include "util/Testo.h"

namespace qzkiro::services {

namespace {

constexpr const char* kNsAnnulla = "http://annullaprescrittorichiesta.xsd.dem.sanita.finanze.it";
constexpr const char* kNsAnnullaBianca =
    "http://annullaprescrittoricettabiancarichiesta.xsd.dem.sanita.finanze.it";
constexpr const char* kNsVisualizza =
    "http://visualizzaprescrittorichiesta.xsd.dem.sanita.finanze.it";

// The request element `nome` around its children.
std::string Radice(const std::string& nome, const std::string& figli) {
  return "<" + nome + ">" + figli + "</" + nome + ">";
}

}  // namespace

std::string RichiestaAnnulla(const std::string& nre, const std::string& cf_medico) {
  return BustaTesto("ann", kNsAnnulla,
                    Radice("ann:AnnullaPrescrittoRichiesta",
                           ElementoTesto("ann:pinCode", "") + ElementoTesto("ann:nre", nre) +
                               ElementoTesto("ann:cfMedico", cf_medico)));
}

std::string RichiestaAnnullaBianca(const std::string& pin, const std::string& codice_paziente,
                                   const std::string& nrbe, const std::string& cf_medico) {
  return BustaTesto("ann", kNsAnnullaBianca,
                    Radice("ann:AnnullaPrescrittoRicettaBiancaRichiesta",
                           ElementoTesto("ann:pinCode", pin) +
                               ElementoTesto("ann:codicePaziente", codice_paziente) +
                               ElementoTesto("ann:nrbe", nrbe) +
                               ElementoTesto("ann:cfMedico", cf_medico)));
}

std::string RichiestaVisualizza(const std::string& nre, const std::string& cf_medico) {
  return BustaTesto("vis", kNsVisualizza,
                    Radice("vis:VisualizzaPrescrittoRichiesta",
                           ElementoTesto("vis:pinCode", "") + ElementoTesto("vis:nre", nre) +
                               ElementoTesto("vis:cfMedico", cf_medico)));
}

std::string BustaTesto(const std::string& prefisso, const std::string& ns,
                       const std::string& corpo) {
  return "<soapenv:Envelope xmlns:soapenv=\"http://schemas.xmlsoap.org/soap/envelope/\" "
         "xmlns:wsa=\"http://www.w3.org/2005/08/addressing\" "
         "xmlns:wsse=\"http://docs.oasis-open.org/wss/2004/01/"
         "oasis-200401-wss-wssecurity-secext-1.0.xsd\" xmlns:" +
         prefisso + "=\"" + ns +
         "\"><soapenv:Header><wsse:Security>[Asserzione]</wsse:Security></soapenv:Header>"
         "<soapenv:Body>" +
         corpo + "</soapenv:Body></soapenv:Envelope>";
}

std::string ElementoTesto(const std::string& nome, const std::string& valore) {
  return "<" + nome + ">" + util::XmlEscape(valore) + "</" + nome + ">";
}

}  // namespace qzkiro::services
